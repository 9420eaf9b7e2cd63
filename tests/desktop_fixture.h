#pragma once

// The game window on an X server with a window manager, and the test's own
// connection to that server to read what it holds.

#include <functional>

#include "support.h"
#include "x_server.h"

namespace karuta::testing {

class DesktopFixture : public GameFixture {
 protected:
  static constexpr int kDeadlineMs = 5000;

  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "these tests need an X server with a window manager";
    ASSERT_TRUE(x.Ready()) << "cannot connect to the X server";
    GameFixture::SetUp();
  }

  static xcb_window_t XWindow(const fw::Window& w) { return static_cast<xcb_window_t>(w.Platform().frame->winId()); }

  // Waits, processing the game's events, until the condition holds.
  static bool Await(const std::function<bool()>& condition) {
    return QTest::qWaitFor([&] { return condition(); }, kDeadlineMs);
  }

  XDisplay x;
};

}  // namespace karuta::testing
