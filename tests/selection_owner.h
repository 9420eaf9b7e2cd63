#pragma once

// Another X client that owns a selection, as a program that copied does, and
// answers requests for it from a table. It serves from a thread of its own:
// the game waits for the answer while it pastes.

#include <poll.h>
#include <xcb/xcb.h>

#include <QString>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace karuta::testing {

class SelectionOwner {
 public:
  // What a request for the target gets: a property of that type and format
  // holding the bytes. Format 32 with type ATOM lists atoms by name,
  // separated by spaces. A target the table lacks is refused.
  struct Answer {
    std::string target, type;
    int format;
    std::string bytes;
  };

  // A target list that names the targets.
  static Answer Targets(const std::string& names) { return {"TARGETS", "ATOM", 32, names}; }

  // silent: the owner never answers at all.
  SelectionOwner(const QString& display, const char* selection, std::vector<Answer> answers, bool silent = false)
      : connection_(xcb_connect(display.toLatin1().constData(), nullptr)), silent_(silent) {
    if (xcb_connection_has_error(connection_)) return;
    for (Answer& answer : answers) offers_.push_back(Prepare(std::move(answer)));
    selection_ = Atom(selection);
    window_ = xcb_generate_id(connection_);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_set_selection_owner(connection_, window_, selection_, XCB_CURRENT_TIME);
    auto owner = xcb_get_selection_owner_reply(connection_, xcb_get_selection_owner(connection_, selection_), nullptr);
    owns_ = owner && owner->owner == window_;
    std::free(owner);
    if (owns_) server_ = std::thread([this] { Serve(); });
  }

  ~SelectionOwner() {
    stop_ = true;
    if (server_.joinable()) server_.join();
    xcb_disconnect(connection_);  // gives the selection up
  }

  SelectionOwner(const SelectionOwner&) = delete;
  SelectionOwner& operator=(const SelectionOwner&) = delete;

  bool Owns() const { return owns_; }
  // How many requests it has had.
  int Requests() const { return requests_; }

 private:
  struct Offer {
    Answer answer;
    xcb_atom_t target = XCB_ATOM_NONE, type = XCB_ATOM_NONE;
    std::vector<uint32_t> atoms;  // format 32, type ATOM
  };

  Offer Prepare(Answer answer) {
    Offer prepared{std::move(answer), XCB_ATOM_NONE, XCB_ATOM_NONE, {}};
    const Answer& a = prepared.answer;
    prepared.target = Atom(a.target.c_str());
    prepared.type = Atom(a.type.c_str());
    if (a.format == 32 && a.type == "ATOM") {
      size_t start = 0;
      while (start < a.bytes.size()) {
        size_t end = a.bytes.find(' ', start);
        if (end == std::string::npos) end = a.bytes.size();
        prepared.atoms.push_back(Atom(a.bytes.substr(start, end - start).c_str()));
        start = end + 1;
      }
    }
    return prepared;
  }

  xcb_atom_t Atom(const char* name) {
    auto reply = xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
  }

  // Waits for requests without spinning, looking at the stop flag between.
  void Serve() {
    pollfd watched{xcb_get_file_descriptor(connection_), POLLIN, 0};
    while (!stop_ && !xcb_connection_has_error(connection_)) {
      poll(&watched, 1, 50);
      while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if ((event->response_type & 0x7f) == XCB_SELECTION_REQUEST)
          Reply(*reinterpret_cast<xcb_selection_request_event_t*>(event));
        std::free(event);
      }
    }
  }

  void Reply(const xcb_selection_request_event_t& request) {
    ++requests_;
    if (silent_) return;
    xcb_atom_t property = request.property != XCB_ATOM_NONE ? request.property : request.target;
    const Offer* found = nullptr;
    for (const Offer& p : offers_)
      if (p.target == request.target) found = &p;
    if (found && !found->atoms.empty())
      xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor, property, found->type, 32,
                          static_cast<uint32_t>(found->atoms.size()), found->atoms.data());
    else if (found)
      xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor, property, found->type,
                          static_cast<uint8_t>(found->answer.format),
                          static_cast<uint32_t>(found->answer.bytes.size() * 8 / found->answer.format),
                          found->answer.bytes.data());
    else
      property = XCB_ATOM_NONE;
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = property;
    xcb_send_event(connection_, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&notify));
    xcb_flush(connection_);
  }

  xcb_connection_t* connection_;
  bool silent_;
  std::vector<Offer> offers_;
  xcb_atom_t selection_ = XCB_ATOM_NONE;
  xcb_window_t window_ = 0;
  bool owns_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<int> requests_{0};
  std::thread server_;
};

}  // namespace karuta::testing
