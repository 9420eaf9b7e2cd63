// Keys and close buttons on a desktop: the window manager puts a window in
// front and gives it the keyboard, and its close buttons close the windows.
// Keys are sent as the X server sends them to the window with the focus.

#include "game/message_window.h"
#include "desktop_fixture.h"

namespace karuta {
namespace {

using testing::kStillRunning;
using testing::RunEventLoop;
using testing::XDisplay;

class KeyboardDesktopTest : public testing::DesktopFixture {
 protected:
  // Whether the window manager has put the window in front and the game knows it.
  bool InFront(const fw::Window& w) {
    return x.ActiveWindow() == XWindow(w) && QApplication::activeWindow() == w.Platform().frame;
  }

  // Presses 開始 through to a game over and gives the message window, once in front.
  fw::Ref<class MessageWindow> GameOverInFront() {
    for (int n = 0; n < 11; ++n) PressStart();
    auto message = fw::Cast<class MessageWindow>(fw::GetImplicitWindow(MessageWindow::kClassName));
    if (message && !Await([&] { return InFront(*message); }))
      ADD_FAILURE() << "the window manager never put the message window in front";
    return message;
  }
  static bool MessageOpen() { return static_cast<bool>(fw::GetImplicitWindow(MessageWindow::kClassName)); }
};

TEST_F(KeyboardDesktopTest, ReturnAndEnterAtTheMessageWindowInFrontPressOKThenTheGameWindowTakesThemAgain) {
  for (xcb_keysym_t key : {XDisplay::kReturn, XDisplay::kKeypadEnter}) {
    SCOPED_TRACE(key == XDisplay::kReturn ? "Return" : "keypad Enter");
    auto message = GameOverInFront();
    ASSERT_TRUE(message);
    const int64_t round = window->Kaisu;
    x.PressKey(XWindow(*message), key);
    EXPECT_TRUE(Await([] { return !MessageOpen(); })) << "OK was not pressed";
    Drain(*window);
    EXPECT_EQ(window->Kaisu, round) << "the key pressed 開始 too";

    ASSERT_TRUE(Await([&] { return InFront(*window); })) << "the game window did not come back to the front";
    x.PressKey(XWindow(*window), key);
    EXPECT_TRUE(Await([&] { return window->Kaisu == round + 1; })) << "the key did not press 開始";
  }
}

TEST_F(KeyboardDesktopTest, ControlQAtTheMessageWindowInFrontQuits) {
  auto message = GameOverInFront();
  ASSERT_TRUE(message);
  EXPECT_EQ(RunEventLoop([&] { x.PressKey(XWindow(*message), XDisplay::kLetterQ, XCB_MOD_MASK_CONTROL); }), 0)
      << "the event loop's code after Ctrl+Q; " << kStillRunning << ": it did not end the loop";
}

TEST_F(KeyboardDesktopTest, TheMessageWindowsCloseButtonClosesItAndTheGameWindowsEndsTheProgram) {
  auto message = GameOverInFront();
  ASSERT_TRUE(message);
  const xcb_window_t shown = XWindow(*message);
  x.Close(shown);
  EXPECT_TRUE(Await([&] { return !MessageOpen() && !x.Viewable(shown); })) << "the message window stayed open";
  Drain(*window);
  EXPECT_TRUE(window->IsOpen());
  EXPECT_TRUE(x.Viewable(XWindow(*window)));

  EXPECT_EQ(RunEventLoop([&] { x.Close(XWindow(*window)); }), 0)
      << "the event loop's code after the close; " << kStillRunning << ": it outlived the game window";
  EXPECT_FALSE(window->IsOpen());
}

}  // namespace
}  // namespace karuta
