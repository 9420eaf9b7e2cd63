// The windows as a desktop shows them: an X server with a window manager,
// read through a connection of the test's own.

#include <QElapsedTimer>

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
  // Shown and made active: no request of the game's to show it is still on its way.
  ASSERT_TRUE(Await([&] {
    return x.Viewable(shown) && x.WmState(shown) == XDisplay::kNormalState && x.ActiveWindow() == shown;
  })) << "the window manager never showed the message window in front";

  // Asked again every half second: under load the window manager may drop a
  // request that comes right after the window was mapped.
  QElapsedTimer asked;
  ASSERT_TRUE(Await([&] {
    if (!asked.isValid() || asked.elapsed() > 500) {
      x.Minimise(shown);
      asked.start();
    }
    return !x.Viewable(shown) && x.WmState(shown) == XDisplay::kIconicState;
  })) << "the window manager did not minimise the message window";
  ASSERT_TRUE(Await([&] { return message->Platform().frame->isMinimized(); }))
      << "the game never learnt that its message window was minimised";

  EXPECT_EQ(GameOver(), message) << "the open message window is reused";
  EXPECT_TRUE(Await([&] { return x.Viewable(shown); })) << "the message window stayed minimised after a game over";
}

}  // namespace
}  // namespace karuta
