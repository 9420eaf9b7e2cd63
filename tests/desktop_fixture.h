#pragma once

// The game window on an X server with a window manager, and the test's own
// connection to that server to read what it holds.

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <functional>

#include "support.h"
#include "x_server.h"

namespace karuta::testing {

class DesktopFixture : public GameFixture {
 protected:
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "these tests need an X server with a window manager";
    ASSERT_TRUE(x.Ready()) << "cannot connect to the X server";
    GameFixture::SetUp();
  }

  static xcb_window_t XWindow(const fw::Window& w) { return static_cast<xcb_window_t>(w.Platform().frame->winId()); }

  // Waits, processing the game's events, until the condition holds.
  static bool Await(const std::function<bool()>& condition) {
    return QTest::qWaitFor([&] { return condition(); }, kHangMs);
  }

  // Waits until the game has handled every event the X server sent it so
  // far, and the server every request the game made meanwhile, so that
  // nothing on its way can slip past a check that nothing happened, nor
  // undo what the test asks next: a mark the test puts on the window reaches
  // the game after those events, and a round trip on the game's own
  // connection follows its requests.
  void Drain(const fw::Window& w) {
    MarkWatch watch(XWindow(w));
    QCoreApplication::instance()->installNativeEventFilter(&watch);
    watch.mark = x.Mark(XWindow(w));
    const bool heard = Await([&] { return watch.heard; });
    QCoreApplication::instance()->removeNativeEventFilter(&watch);
    QCoreApplication::processEvents();  // what the events before the mark gave rise to
    EXPECT_TRUE(heard) << "the game never heard of the mark on its window";
    xcb_connection_t* game = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    std::free(xcb_get_input_focus_reply(game, xcb_get_input_focus(game), nullptr));
  }

  XDisplay x;

 private:
  struct MarkWatch : QAbstractNativeEventFilter {
    explicit MarkWatch(xcb_window_t w) : window(w) {}
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
      if (type != "xcb_generic_event_t") return false;
      const auto* event = static_cast<const xcb_property_notify_event_t*>(message);
      if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY && event->window == window && event->atom == mark)
        heard = true;
      return false;
    }
    xcb_window_t window;
    xcb_atom_t mark = XCB_ATOM_NONE;
    bool heard = false;
  };
};

}  // namespace karuta::testing
