// Drops files on a window through the X drag-and-drop protocol (XDND), as a file manager does, for
// the desktop tests.
//
//   xdnd_drop [--window ID] [--action copy|move|link] [--timeout SECONDS] --x X --y Y FILE...
//
// X and Y are root coordinates. The target is the window ID, or else the first XDND-aware window
// on the way down from the root to the point (for a reparenting window manager: the client window
// inside the frame). The drag offers text/uri-list and text/plain, both the files' file:// URIs.
//
// Exits 0 once the target has taken the drop and said so with XdndFinished; otherwise prints why
// and exits 1 (refused, no answer within the timeout for one step, default 5 seconds), or 2 for
// wrong arguments.
#include <poll.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kXdndVersion = 5;

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "xdnd_drop: %s\n", what.c_str());
  std::exit(1);
}

[[noreturn]] void usage() {
  std::fprintf(stderr,
               "usage: xdnd_drop [--window ID] [--action copy|move|link] [--timeout SECONDS] "
               "--x X --y Y FILE...\n");
  std::exit(2);
}

std::string hex(uint32_t id) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%x", id);
  return buf;
}

// A file:// URI: the absolute path's UTF-8 bytes, everything but unreserved characters and the
// slashes percent-encoded.
std::string file_uri(const std::string& path) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (const unsigned char c : std::filesystem::absolute(path).string()) {
    if (std::isalnum(c) || std::strchr("-._~/", c) != nullptr) {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kDigits[c >> 4];
      uri += kDigits[c & 15];
    }
  }
  return uri;
}

struct Atoms {
  xcb_atom_t aware, selection, enter, position, status, drop, finished, leave, uri_list, text_plain,
      targets, atom, copy, move, link, stamp;
};

class Drag {
 public:
  Drag(std::string payload, std::chrono::milliseconds timeout)
      : payload_(std::move(payload)), timeout_(timeout) {
    c_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c_)) fail("cannot open the display");
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    root_ = screen->root;
    const std::pair<const char*, xcb_atom_t*> names[] = {
        {"XdndAware", &a_.aware},        {"XdndSelection", &a_.selection},
        {"XdndEnter", &a_.enter},        {"XdndPosition", &a_.position},
        {"XdndStatus", &a_.status},      {"XdndDrop", &a_.drop},
        {"XdndFinished", &a_.finished},  {"XdndLeave", &a_.leave},
        {"text/uri-list", &a_.uri_list}, {"text/plain", &a_.text_plain},
        {"TARGETS", &a_.targets},        {"ATOM", &a_.atom},
        {"XdndActionCopy", &a_.copy},    {"XdndActionMove", &a_.move},
        {"XdndActionLink", &a_.link},    {"XDND_DROP_STAMP", &a_.stamp}};
    std::vector<xcb_intern_atom_cookie_t> cookies;
    for (const auto& [name, atom] : names) {
      cookies.push_back(xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name));
    }
    for (std::size_t i = 0; i < std::size(names); ++i) {
      xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c_, cookies[i], nullptr);
      if (!r) fail("cannot intern atoms");
      *names[i].second = r->atom;
      std::free(r);
    }
    // Never mapped: it only owns the selection and receives the target's answers.
    source_ = xcb_generate_id(c_);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, source_, root_, -10, -10, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
  }

  ~Drag() { xcb_disconnect(c_); }

  const Atoms& atoms() const { return a_; }

  // The X server's time now: the stamp of an empty change to a property of our own.
  xcb_timestamp_t server_time() {
    xcb_change_property(c_, XCB_PROP_MODE_APPEND, source_, a_.stamp, XCB_ATOM_STRING, 8, 0,
                        nullptr);
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    wait(
        "the X server's time", [&] { return time != XCB_CURRENT_TIME; },
        [&](xcb_generic_event_t* ev) {
          const auto* e = reinterpret_cast<xcb_property_notify_event_t*>(ev);
          if ((ev->response_type & 0x7F) == XCB_PROPERTY_NOTIFY && e->window == source_ &&
              e->atom == a_.stamp) {
            time = e->time;
          }
        });
    return time;
  }

  void own_selection(xcb_timestamp_t time) {
    xcb_set_selection_owner(c_, source_, a_.selection, time);
    xcb_get_selection_owner_reply_t* r =
        xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, a_.selection), nullptr);
    const bool owned = r && r->owner == source_;
    std::free(r);
    if (!owned) fail("cannot own XdndSelection");
  }

  // The XDND version a window declares, 0 for none.
  uint32_t aware_version(xcb_window_t w) {
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, w, a_.aware, XCB_GET_PROPERTY_TYPE_ANY, 0, 1), nullptr);
    uint32_t version = 0;
    if (r && r->format == 32 && xcb_get_property_value_length(r) >= 4) {
      version = *static_cast<const uint32_t*>(xcb_get_property_value(r));
    }
    std::free(r);
    return version;
  }

  xcb_window_t window_at(int16_t x, int16_t y) {
    xcb_window_t w = root_;
    for (;;) {
      if (w != root_ && aware_version(w) > 0) return w;
      xcb_translate_coordinates_reply_t* r = xcb_translate_coordinates_reply(
          c_, xcb_translate_coordinates(c_, root_, w, x, y), nullptr);
      const xcb_window_t child = r ? r->child : xcb_window_t{XCB_WINDOW_NONE};
      std::free(r);
      if (child == XCB_WINDOW_NONE) {
        fail("no XDND-aware window at " + std::to_string(x) + "," + std::to_string(y));
      }
      w = child;
    }
  }

  void send(xcb_window_t target, xcb_atom_t type, uint32_t d1, uint32_t d2, uint32_t d3,
            uint32_t d4) {
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = target;
    ev.type = type;
    ev.data.data32[0] = source_;
    ev.data.data32[1] = d1;
    ev.data.data32[2] = d2;
    ev.data.data32[3] = d3;
    ev.data.data32[4] = d4;
    xcb_send_event(c_, 0, target, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ev));
    xcb_flush(c_);
    if (type == a_.enter) entered_ = target;
    if (type == a_.leave || type == a_.drop) entered_ = XCB_WINDOW_NONE;
  }

  // The target's next message of this type, data32[0] naming the target; while waiting, the
  // target's requests for the data are answered, as it may ask before the drop too.
  xcb_client_message_data_t reply(xcb_window_t target, xcb_atom_t type, const char* what) {
    std::optional<xcb_client_message_data_t> got;
    wait(
        what, [&] { return got.has_value(); },
        [&](xcb_generic_event_t* ev) {
          const auto* e = reinterpret_cast<xcb_client_message_event_t*>(ev);
          if ((ev->response_type & 0x7F) == XCB_CLIENT_MESSAGE && e->window == source_ &&
              e->type == type && e->data.data32[0] == target) {
            got = e->data;
          }
        });
    return *got;
  }

 private:
  void answer(const xcb_selection_request_event_t& e) {
    xcb_selection_notify_event_t n{};
    n.response_type = XCB_SELECTION_NOTIFY;
    n.time = e.time;
    n.requestor = e.requestor;
    n.selection = e.selection;
    n.target = e.target;
    // Requestors older than ICCCM 2 leave the property out and mean the target.
    n.property = e.property != XCB_ATOM_NONE ? e.property : e.target;
    if (e.selection != a_.selection || e.owner != source_) {
      n.property = XCB_ATOM_NONE;
    } else if (e.target == a_.targets) {
      const xcb_atom_t offered[] = {a_.targets, a_.uri_list, a_.text_plain};
      xcb_change_property(c_, XCB_PROP_MODE_REPLACE, e.requestor, n.property, a_.atom, 32,
                          std::size(offered), offered);
    } else if (e.target == a_.uri_list || e.target == a_.text_plain) {
      xcb_change_property(c_, XCB_PROP_MODE_REPLACE, e.requestor, n.property, e.target, 8,
                          static_cast<uint32_t>(payload_.size()), payload_.data());
    } else {
      n.property = XCB_ATOM_NONE;
    }
    xcb_send_event(c_, 0, e.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&n));
    xcb_flush(c_);
  }

  // Handles events until done() holds; fails once the timeout has passed.
  void wait(const char* what, const std::function<bool()>& done,
            const std::function<void(xcb_generic_event_t*)>& handle) {
    const auto deadline = std::chrono::steady_clock::now() + timeout_;
    xcb_flush(c_);
    while (!done()) {
      xcb_generic_event_t* ev = xcb_poll_for_event(c_);
      if (!ev) {
        if (xcb_connection_has_error(c_)) fail("display lost");
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
          // Not to leave the target in the middle of a drag that will never end.
          if (entered_ != XCB_WINDOW_NONE) send(entered_, a_.leave, 0, 0, 0, 0);
          fail(std::string("timed out waiting for ") + what);
        }
        pollfd fd{xcb_get_file_descriptor(c_), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left.count()));
        continue;
      }
      if ((ev->response_type & 0x7F) == XCB_SELECTION_REQUEST) {
        answer(*reinterpret_cast<xcb_selection_request_event_t*>(ev));
      } else {
        handle(ev);
      }
      std::free(ev);
    }
  }

  xcb_connection_t* c_ = nullptr;
  xcb_window_t root_ = 0;
  xcb_window_t source_ = 0;
  xcb_window_t entered_ = XCB_WINDOW_NONE;
  Atoms a_{};
  std::string payload_;
  std::chrono::milliseconds timeout_;
};

long number(const char* text) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 0);
  if (end == text || *end != '\0') usage();
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  xcb_window_t given = XCB_WINDOW_NONE;
  long x = -1, y = -1;
  double seconds = 5;
  std::string action_name = "copy";
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    const bool has_value = i + 1 < argc;
    if (a == "--window" && has_value) {
      given = static_cast<xcb_window_t>(number(argv[++i]));
    } else if (a == "--x" && has_value) {
      x = number(argv[++i]);
    } else if (a == "--y" && has_value) {
      y = number(argv[++i]);
    } else if (a == "--action" && has_value) {
      action_name = argv[++i];
    } else if (a == "--timeout" && has_value) {
      seconds = std::atof(argv[++i]);
    } else if (a.starts_with("--")) {
      usage();
    } else {
      files.emplace_back(a);
    }
  }
  if (files.empty() || x < 0 || y < 0 || x > 0x7FFF || y > 0x7FFF || seconds <= 0) usage();

  // A URI list: one URI a line, each line ended by CR LF.
  std::string payload;
  for (const std::string& f : files) payload += file_uri(f) + "\r\n";

  Drag drag(payload, std::chrono::milliseconds(static_cast<long>(seconds * 1000)));
  const Atoms& a = drag.atoms();
  const xcb_atom_t action = action_name == "copy"   ? a.copy
                            : action_name == "move" ? a.move
                            : action_name == "link" ? a.link
                                                    : xcb_atom_t{XCB_ATOM_NONE};
  if (action == XCB_ATOM_NONE) usage();

  const xcb_timestamp_t time = drag.server_time();
  drag.own_selection(time);
  const xcb_window_t target =
      given != XCB_WINDOW_NONE ? given
                               : drag.window_at(static_cast<int16_t>(x), static_cast<int16_t>(y));
  const uint32_t theirs = drag.aware_version(target);
  if (theirs == 0) fail("window " + hex(target) + " is not XDND-aware");
  const uint32_t version = std::min(theirs, kXdndVersion);

  // Two types fit in the message itself, so no XdndTypeList.
  drag.send(target, a.enter, version << 24, a.uri_list, a.text_plain, XCB_ATOM_NONE);
  drag.send(target, a.position, 0, static_cast<uint32_t>(x << 16 | y), time, action);
  const xcb_client_message_data_t status = drag.reply(target, a.status, "XdndStatus");
  if ((status.data32[1] & 1) == 0) {
    drag.send(target, a.leave, 0, 0, 0, 0);
    fail("window " + hex(target) + " refused the drag at " + std::to_string(x) + "," +
         std::to_string(y));
  }
  drag.send(target, a.drop, 0, time, 0, 0);
  const xcb_client_message_data_t finished = drag.reply(target, a.finished, "XdndFinished");
  // Before version 5 XdndFinished carried no result: the target's status stands for it.
  const bool accepted = version < 5 || (finished.data32[1] & 1) != 0;
  const xcb_atom_t performed = version < 5 ? status.data32[4] : finished.data32[2];
  if (!accepted) fail("window " + hex(target) + " did not take the drop");
  const char* performed_name = performed == a.copy   ? "copy"
                               : performed == a.move ? "move"
                               : performed == a.link ? "link"
                                                     : "other";
  std::printf("dropped %zu on %s: %s\n", files.size(), hex(target).c_str(), performed_name);
  return 0;
}
