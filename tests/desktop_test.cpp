// The windows as a desktop shows them: an X server with a window manager,
// read through a connection of the test's own.

#include "game/message_window.h"
#include "desktop_fixture.h"

namespace karuta {
namespace {

using testing::XDisplay;

class DesktopTest : public testing::DesktopFixture {
 protected:
  // Presses 開始 through to the next game over and gives the message window.
  fw::Ref<fw::Window> GameOver() {
    while (window->Kaisu < 10) PressStart();
    PressStart();
    return fw::GetImplicitWindow(MessageWindow::kClassName);
  }
};

TEST_F(DesktopTest, TheWindowsTitlesAreTheGamesNameNeverTheExecutables) {
  auto message = GameOver();
  ASSERT_TRUE(message);
  ASSERT_TRUE(Await([&] { return x.Viewable(XWindow(*message)); })) << "the message window never showed";
  const std::pair<const char*, fw::Ref<fw::Window>> kWindows[] = {{"game window", window}, {"message window", message}};
  for (const auto& [name, w] : kWindows) EXPECT_EQ(x.Text(XWindow(*w), "_NET_WM_NAME"), "霞札苑") << name;
}

TEST_F(DesktopTest, AGameOverBringsBackAMinimisedMessageWindow) {
  auto message = GameOver();
  ASSERT_TRUE(message);
  const xcb_window_t shown = XWindow(*message);
  // Shown and made active, and the game's own request to make it active
  // (sent once the game hears it was mapped) is no longer on its way: the
  // window manager would bring the window back for it.
  ASSERT_TRUE(Await([&] {
    return x.Viewable(shown) && x.WmState(shown) == XDisplay::kNormalState && x.ActiveWindow() == shown;
  })) << "the window manager never showed the message window in front";
  Drain(*message);

  x.Minimise(shown);
  ASSERT_TRUE(Await([&] { return !x.Viewable(shown) && x.WmState(shown) == XDisplay::kIconicState; }))
      << "the window manager did not minimise the message window";
  ASSERT_TRUE(Await([&] { return message->Platform().frame->isMinimized(); }))
      << "the game never learnt that its message window was minimised";
  Drain(*message);
  ASSERT_FALSE(x.Viewable(shown)) << "the message window came back before the game over";

  EXPECT_EQ(GameOver(), message) << "the open message window is reused";
  EXPECT_TRUE(Await([&] { return x.Viewable(shown); })) << "the message window stayed minimised after a game over";
}

}  // namespace
}  // namespace karuta
