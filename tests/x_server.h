#pragma once

// A test's own connection to an X server, to read what the server holds,
// and an X server of a test's own (Xvfb).

#include <xcb/xcb.h>

#include <cstdint>

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "hang.h"

namespace karuta::testing {

// A connection of the test's own to an X server, to read what it holds.
class XDisplay {
 public:
  static constexpr uint32_t kNormalState = 1, kIconicState = 3;  // ICCCM WM_STATE
  static constexpr xcb_keysym_t kReturn = 0xff0d, kKeypadEnter = 0xff8d, kLetterQ = 0x71;

  explicit XDisplay(const QString& display = {})
      : connection_(xcb_connect(display.isEmpty() ? nullptr : display.toLatin1().constData(), nullptr)) {
    if (xcb_connection_has_error(connection_)) Disconnect();
  }
  ~XDisplay() { Disconnect(); }
  XDisplay(const XDisplay&) = delete;
  XDisplay& operator=(const XDisplay&) = delete;

  bool Ready() const { return connection_ != nullptr; }
  xcb_connection_t* Connection() const { return connection_; }
  xcb_window_t Root() const { return xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root; }

  // A text property of a window, such as "_NET_WM_NAME" or "WM_NAME".
  std::string Text(xcb_window_t window, const char* property) {
    auto reply = Reply(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, Atom(property), XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr));
    if (!reply) return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<size_t>(xcb_get_property_value_length(reply.get())));
  }

  // The ICCCM state the window manager gives a window it manages: 1 normal,
  // 3 iconic; 0 before it manages the window.
  uint32_t WmState(xcb_window_t window) {
    const xcb_atom_t state = Atom("WM_STATE");
    auto reply = Reply(
        xcb_get_property_reply(connection_, xcb_get_property(connection_, 0, window, state, state, 0, 2), nullptr));
    if (!reply || xcb_get_property_value_length(reply.get()) < 4) return 0;
    return *static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
  }

  // The window the window manager has made active, or 0.
  xcb_window_t ActiveWindow() {
    auto reply = Reply(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, Root(), Atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 0, 1),
        nullptr));
    if (!reply || xcb_get_property_value_length(reply.get()) < 4) return 0;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
  }

  // Whether the window is mapped and all its ancestors are: the server shows it.
  bool Viewable(xcb_window_t window) {
    auto attributes =
        Reply(xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
  }

  // The window of the client that owns the selection ("CLIPBOARD", "PRIMARY"), or 0.
  xcb_window_t OwnerOf(const char* selection) {
    auto reply = Reply(xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, Atom(selection)), nullptr));
    return reply ? reply->owner : xcb_window_t{XCB_NONE};
  }

  // Asks the window manager to minimise the window, as a task bar does.
  void Minimise(xcb_window_t window) { AskWindowManager(window, "WM_CHANGE_STATE", kIconicState); }

  // Asks the window manager to close the window, as its close button does.
  void Close(xcb_window_t window) { AskWindowManager(window, "_NET_CLOSE_WINDOW", XCB_CURRENT_TIME, kFromPager); }

  // Presses and releases a key at the window, as the keyboard does for the
  // window that has the focus; modifiers is an X modifier mask.
  void PressKey(xcb_window_t window, xcb_keysym_t symbol, uint16_t modifiers = 0) {
    for (uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
      xcb_key_press_event_t event{};
      event.response_type = type;
      event.detail = Keycode(symbol);
      event.root = Root();
      event.event = window;
      event.child = XCB_NONE;
      event.state = modifiers;
      event.same_screen = 1;
      xcb_send_event(connection_, 1, window, XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE,
                     reinterpret_cast<const char*>(&event));
    }
    xcb_flush(connection_);
  }

  // Changes a property of the test's own on the window. The server tells the
  // window's client of it after every event it sent that client before.
  // Gives the property's atom.
  xcb_atom_t Mark(xcb_window_t window) {
    const xcb_atom_t mark = Atom("KARUTA_TEST_MARK");
    const uint32_t value = ++marks_;
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, mark, XCB_ATOM_CARDINAL, 32, 1, &value);
    xcb_flush(connection_);
    return mark;
  }

  // The mapped top-level window of that title, waiting up to the deadline; 0 if none.
  xcb_window_t AwaitWindow(const std::string& title, int deadlineMs = kHangMs) {
    QElapsedTimer clock;
    clock.start();
    do {
      if (xcb_window_t found = FindWindow(title)) return found;
      QThread::msleep(20);
    } while (clock.elapsed() < deadlineMs);
    return 0;
  }

  // The key code that gives the key symbol, or 0.
  xcb_keycode_t Keycode(xcb_keysym_t symbol) {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto map = Reply(xcb_get_keyboard_mapping_reply(
        connection_, xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<uint8_t>(count)), nullptr));
    if (!map) return 0;
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(map.get());
    for (int k = 0; k < count; ++k)
      for (int i = 0; i < map->keysyms_per_keycode; ++i)
        if (symbols[k * map->keysyms_per_keycode + i] == symbol) return static_cast<xcb_keycode_t>(setup->min_keycode + k);
    return 0;
  }

  // The window's pixels as the server holds them.
  QImage Grab(xcb_window_t window) {
    auto geometry = Reply(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
    if (!geometry) return {};
    auto image = Reply(xcb_get_image_reply(
        connection_,
        xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, geometry->width, geometry->height, ~0u),
        nullptr));
    if (!image || image->depth != 24) return {};
    const QImage view(xcb_get_image_data(image.get()), geometry->width, geometry->height, QImage::Format_RGB32);
    return view.copy();
  }

 private:
  template <class T>
  static std::unique_ptr<T, decltype(&std::free)> Reply(T* reply) {
    return {reply, &std::free};
  }

  static constexpr uint32_t kFromPager = 2;  // EWMH source indication: a pager or task bar

  // A client message to the root window about a window, as EWMH and ICCCM ask for.
  void AskWindowManager(xcb_window_t window, const char* type, uint32_t first, uint32_t second = 0) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom(type);
    event.data.data32[0] = first;
    event.data.data32[1] = second;
    xcb_send_event(connection_, 0, Root(), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection_);
  }

  xcb_atom_t Atom(const char* name) {
    auto reply = Reply(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  }

  xcb_window_t FindWindow(const std::string& title) {
    auto tree = Reply(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, Root()), nullptr));
    if (!tree) return 0;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
      if (Viewable(children[i]) && Text(children[i], "_NET_WM_NAME") == title) return children[i];
    return 0;
  }

  void Disconnect() {
    if (connection_) xcb_disconnect(connection_);
    connection_ = nullptr;
  }

  xcb_connection_t* connection_;
  uint32_t marks_ = 0;
};

// An X server of the test's own (Xvfb), and the test's connection to it.
class XServer {
 public:
  // Servers starting at once can collide on a display number: one that
  // dies or takes no connection is started again, a few times.
  XServer() {
    for (int attempt = 0; attempt < 3 && !Ready(); ++attempt) {
      Kill();
      Start();
    }
  }

  ~XServer() { Kill(); }

  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  bool Ready() const { return connection_ && connection_->Ready(); }
  // Why the server is not ready.
  std::string Problem() {
    if (server_.error() == QProcess::FailedToStart) return "Xvfb cannot be started (apt-get install xvfb)";
    return "Xvfb did not start: " + server_.readAllStandardError().toStdString();
  }
  const QString& Display() const { return display_; }
  XDisplay& Connection() { return *connection_; }

  // Ends the server at once, as a crash or a logout would.
  void Kill() {
    connection_.reset();
    if (server_.state() == QProcess::NotRunning) return;
    server_.kill();
    server_.waitForFinished(kHangMs);
  }

 private:
  void Start() {
    server_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    if (!server_.waitForStarted(kHangMs)) return;
    QElapsedTimer clock;
    clock.start();
    QByteArray number;
    while (!number.contains('\n') && clock.elapsed() < kHangMs && server_.state() == QProcess::Running) {
      server_.waitForReadyRead(100);
      number += server_.readAllStandardOutput();
    }
    if (!number.contains('\n')) return;
    display_ = ":" + QString::fromLatin1(number.trimmed());
    connection_ = std::make_unique<XDisplay>(display_);
  }

  QProcess server_;
  QString display_;
  std::unique_ptr<XDisplay> connection_;
};

}  // namespace karuta::testing
