// Opens real top-level windows with given titles and states, for the desktop tests and the
// benchmarks, and reports every close request it receives.
//
//   test_windows [-w FLAGS TITLE]... [-n COUNT TEMPLATE]...
//
// -w opens one window titled TITLE (UTF-8). FLAGS is "-" or a comma-separated list of:
//   hidden     never mapped
//   withdrawn  mapped, then withdrawn again, as a program hides its window
//   notitle    no title property at all (TITLE is ignored)
//   latin1     title only in WM_NAME, as a Latin-1 STRING
//   ctext      title only in WM_NAME, as COMPOUND_TEXT (Japanese as JIS X 0208)
//   nodelete   WM_PROTOCOLS without WM_DELETE_WINDOW
//   ignore     takes WM_DELETE_WINDOW but keeps the window
//   iconify    takes WM_DELETE_WINDOW by minimising the window
// By default a window is mapped, has its title in _NET_WM_NAME and the same bytes in WM_NAME (as
// careless programs do), and destroys itself on WM_DELETE_WINDOW.
// -n opens COUNT default windows titled TEMPLATE with "{}" replaced by the zero-padded index.
//
// Prints one line each on stdout: "window INDEX ID" for every window once all of them are set
// up, then "ready"; later "close INDEX" for every WM_DELETE_WINDOW received, in order of arrival.
// Exits when stdin closes or the display goes away.
#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcb_icccm.h>

#include <iconv.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

struct Wanted {
  std::string title;
  bool hidden = false;
  bool withdrawn = false;
  bool notitle = false;
  bool latin1 = false;
  bool ctext = false;
  bool nodelete = false;
  bool ignore = false;
  bool iconify = false;
};

struct Window {
  Wanted wanted;
  xcb_window_t id = 0;
  bool mapped = false;
  bool has_wm_state = false;
  bool on_root = true;
  bool destroyed = false;
};

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "test_windows: %s\n", what);
  std::exit(1);
}

Wanted parse_wanted(std::string_view flags, std::string title) {
  static constexpr std::pair<std::string_view, bool Wanted::*> kFlags[] = {
      {"hidden", &Wanted::hidden},   {"withdrawn", &Wanted::withdrawn},
      {"notitle", &Wanted::notitle}, {"latin1", &Wanted::latin1},
      {"ctext", &Wanted::ctext},     {"nodelete", &Wanted::nodelete},
      {"ignore", &Wanted::ignore},   {"iconify", &Wanted::iconify}};
  Wanted s;
  s.title = std::move(title);
  while (!flags.empty() && flags != "-") {
    const std::size_t comma = flags.find(',');
    const std::string_view f = flags.substr(0, comma);
    const auto* known = std::find_if(std::begin(kFlags), std::end(kFlags),
                                     [f](const auto& k) { return k.first == f; });
    if (known == std::end(kFlags)) fail("unknown flag");
    s.*(known->second) = true;
    flags = comma == std::string_view::npos ? std::string_view() : flags.substr(comma + 1);
  }
  return s;
}

std::string utf8_to(const char* charset, const std::string& utf8) {
  iconv_t cd = iconv_open(charset, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) fail("iconv_open");
  std::string out(utf8.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  char* o = out.data();
  std::size_t out_left = out.size();
  if (iconv(cd, &in, &in_left, &o, &out_left) == static_cast<std::size_t>(-1)) {
    fail("title not representable in the requested encoding");
  }
  iconv_close(cd);
  out.resize(out.size() - out_left);
  return out;
}

class Desktop {
 public:
  Desktop() {
    c_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c_)) fail("cannot open the display");
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    const std::pair<const char*, xcb_atom_t*> atoms[] = {{"WM_PROTOCOLS", &wm_protocols_},
                                                         {"WM_DELETE_WINDOW", &wm_delete_},
                                                         {"WM_STATE", &wm_state_},
                                                         {"WM_CHANGE_STATE", &wm_change_state_},
                                                         {"_NET_WM_NAME", &net_wm_name_},
                                                         {"UTF8_STRING", &utf8_string_},
                                                         {"COMPOUND_TEXT", &compound_text_},
                                                         {"_NET_CLIENT_LIST", &client_list_},
                                                         {"_NET_SUPPORTING_WM_CHECK", &wm_check_},
                                                         {"_NET_WM_USER_TIME", &net_wm_user_time_}};
    std::vector<xcb_intern_atom_cookie_t> cookies;
    for (const auto& [name, atom] : atoms) {
      cookies.push_back(xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name));
    }
    for (std::size_t i = 0; i < std::size(atoms); ++i) {
      xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c_, cookies[i], nullptr);
      if (!r) fail("intern atom");
      *atoms[i].second = r->atom;
      std::free(r);
    }
    wm_running_ = !property_windows(root_, wm_check_).empty();
  }

  // Small windows on a grid, mostly apart: overlapping windows make the X server slow to open
  // hundreds of them.
  void create(Window& w, int index) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    const auto x = static_cast<int16_t>(index % 32 * 40);
    const auto y = static_cast<int16_t>(index / 32 % 32 * 25);
    w.id = xcb_generate_id(c_);
    const uint32_t values[] = {screen->white_pixel,
                               XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE};
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, w.id, root_, x, y, 24, 4, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    // A position of the user's own spares the window manager its placement search, which makes
    // opening hundreds of windows slow.
    xcb_size_hints_t hints{};
    xcb_icccm_size_hints_set_position(&hints, 1, x, y);
    xcb_icccm_set_wm_normal_hints(c_, w.id, &hints);
    // Nor does it give each new window the focus.
    const uint32_t no_user_time = 0;
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, w.id, net_wm_user_time_, XCB_ATOM_CARDINAL, 32,
                        1, &no_user_time);
    if (!w.wanted.nodelete) {
      xcb_change_property(c_, XCB_PROP_MODE_REPLACE, w.id, wm_protocols_, XCB_ATOM_ATOM, 32, 1,
                          &wm_delete_);
    }
    const Wanted& s = w.wanted;
    if (s.notitle) return;
    if (s.latin1) {
      set_text(w.id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, utf8_to("ISO-8859-1", s.title));
    } else if (s.ctext) {
      // EUC-JP carries JIS X 0208 in the right half, which compound text selects with ESC $ ) B.
      set_text(w.id, XCB_ATOM_WM_NAME, compound_text_, "\x1b$)B" + utf8_to("EUC-JP", s.title));
    } else {
      set_text(w.id, net_wm_name_, utf8_string_, s.title);
      set_text(w.id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, s.title);
    }
  }

  void map(const Window& w) { xcb_map_window(c_, w.id); }

  // Withdrawal as the window-manager conventions ask: unmap, plus a synthetic UnmapNotify on the
  // root for a window manager that missed the real one.
  void withdraw(const Window& w) {
    xcb_unmap_window(c_, w.id);
    xcb_unmap_notify_event_t ev{};
    ev.response_type = XCB_UNMAP_NOTIFY;
    ev.event = root_;
    ev.window = w.id;
    xcb_send_event(c_, 0, root_,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&ev));
  }

  // Minimising as the window-manager conventions ask: WM_CHANGE_STATE to IconicState.
  void iconify(const Window& w) {
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = w.id;
    ev.type = wm_change_state_;
    ev.data.data32[0] = XCB_ICCCM_WM_STATE_ICONIC;
    xcb_send_event(c_, 0, root_,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&ev));
  }

  std::vector<xcb_window_t> property_windows(xcb_window_t w, xcb_atom_t property) {
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, w, property, XCB_ATOM_WINDOW, 0, 1u << 16), nullptr);
    std::vector<xcb_window_t> out;
    if (r && r->format == 32) {
      const auto* v = static_cast<const xcb_window_t*>(xcb_get_property_value(r));
      out.assign(v, v + xcb_get_property_value_length(r) / 4);
    }
    std::free(r);
    return out;
  }

  xcb_connection_t* c_ = nullptr;
  xcb_window_t root_ = 0;
  xcb_atom_t wm_protocols_ = 0, wm_delete_ = 0, wm_state_ = 0, net_wm_name_ = 0, utf8_string_ = 0,
             compound_text_ = 0, client_list_ = 0, wm_check_ = 0, net_wm_user_time_ = 0,
             wm_change_state_ = 0;
  bool wm_running_ = false;

 private:
  void set_text(xcb_window_t w, xcb_atom_t property, xcb_atom_t type, const std::string& text) {
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, w, property, type, 8,
                        static_cast<uint32_t>(text.size()), text.data());
  }
};

std::vector<Window> windows;

Window* find(xcb_window_t id) {
  for (Window& w : windows) {
    if (w.id == id) return &w;
  }
  return nullptr;
}

// Keeps track of the windows' state, and takes close requests.
void handle(Desktop& d, xcb_generic_event_t* ev) {
  switch (ev->response_type & 0x7F) {
    case XCB_MAP_NOTIFY: {
      auto* e = reinterpret_cast<xcb_map_notify_event_t*>(ev);
      if (Window* w = find(e->window)) w->mapped = true;
      break;
    }
    case XCB_UNMAP_NOTIFY: {
      auto* e = reinterpret_cast<xcb_unmap_notify_event_t*>(ev);
      if (Window* w = find(e->window)) w->mapped = false;
      break;
    }
    case XCB_REPARENT_NOTIFY: {
      auto* e = reinterpret_cast<xcb_reparent_notify_event_t*>(ev);
      if (Window* w = find(e->window)) w->on_root = e->parent == d.root_;
      break;
    }
    case XCB_DESTROY_NOTIFY: {
      auto* e = reinterpret_cast<xcb_destroy_notify_event_t*>(ev);
      if (Window* w = find(e->window)) w->destroyed = true;
      break;
    }
    case XCB_PROPERTY_NOTIFY: {
      auto* e = reinterpret_cast<xcb_property_notify_event_t*>(ev);
      Window* w = find(e->window);
      if (w && e->atom == d.wm_state_) w->has_wm_state = e->state == XCB_PROPERTY_NEW_VALUE;
      break;
    }
    case XCB_CLIENT_MESSAGE: {
      auto* e = reinterpret_cast<xcb_client_message_event_t*>(ev);
      Window* w = find(e->window);
      if (!w || e->type != d.wm_protocols_ || e->data.data32[0] != d.wm_delete_) break;
      std::printf("close %d\n", static_cast<int>(w - windows.data()));
      std::fflush(stdout);
      if (w->wanted.iconify) {
        d.iconify(*w);
      } else if (!w->wanted.ignore) {
        xcb_destroy_window(d.c_, w->id);
      }
      xcb_flush(d.c_);
      break;
    }
    default:
      break;
  }
}

// Processes events until done() holds; fails after a few seconds.
void wait_until(Desktop& d, const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  xcb_flush(d.c_);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) fail("the window manager did not respond");
    xcb_generic_event_t* ev = xcb_wait_for_event(d.c_);
    if (!ev) fail("display lost");
    handle(d, ev);
    std::free(ev);
  }
}

std::string expand(const std::string& tmpl, int index, int count) {
  const int width = static_cast<int>(std::to_string(count > 1 ? count - 1 : 0).size());
  std::string digits = std::to_string(index);
  digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  std::string out = tmpl;
  if (const std::size_t at = out.find("{}"); at != std::string::npos) out.replace(at, 2, digits);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "-w" && i + 2 < argc) {
      windows.push_back(Window{parse_wanted(argv[i + 1], argv[i + 2])});
      i += 2;
    } else if (a == "-n" && i + 2 < argc) {
      const int count = std::atoi(argv[i + 1]);
      for (int k = 0; k < count; ++k)
        windows.push_back(Window{Wanted{expand(argv[i + 2], k, count)}});
      i += 2;
    } else {
      fail("usage: test_windows [-w FLAGS TITLE]... [-n COUNT TEMPLATE]...");
    }
  }

  Desktop d;
  for (std::size_t i = 0; i < windows.size(); ++i) d.create(windows[i], static_cast<int>(i));
  for (Window& w : windows) {
    if (!w.wanted.hidden) d.map(w);
  }
  // Mapped windows are ready once the window manager has mapped them and set their WM_STATE.
  wait_until(d, [&] {
    for (const Window& w : windows) {
      if (!w.wanted.hidden && !(w.mapped && (w.has_wm_state || !d.wm_running_))) return false;
    }
    return true;
  });
  for (Window& w : windows) {
    if (w.wanted.withdrawn) d.withdraw(w);
  }
  // Withdrawn windows are back on the root, unmapped, without WM_STATE.
  wait_until(d, [&] {
    for (const Window& w : windows) {
      if (w.wanted.withdrawn && (w.mapped || w.has_wm_state || !w.on_root)) return false;
    }
    return true;
  });
  // The window manager's client list catches up last.
  if (d.wm_running_) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
      const std::vector<xcb_window_t> listed = d.property_windows(d.root_, d.client_list_);
      bool all = true;
      for (const Window& w : windows) {
        if (w.wanted.hidden || w.wanted.withdrawn) continue;
        bool found = false;
        for (xcb_window_t id : listed) found = found || id == w.id;
        all = all && found;
      }
      if (all) break;
      if (std::chrono::steady_clock::now() > deadline) fail("windows missing from the client list");
      usleep(5000);
    }
  }

  for (std::size_t i = 0; i < windows.size(); ++i) std::printf("window %zu %u\n", i, windows[i].id);
  std::printf("ready\n");
  std::fflush(stdout);

  pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {xcb_get_file_descriptor(d.c_), POLLIN, 0}};
  for (;;) {
    while (xcb_generic_event_t* ev = xcb_poll_for_event(d.c_)) {
      handle(d, ev);
      std::free(ev);
    }
    if (xcb_connection_has_error(d.c_)) return 0;
    xcb_flush(d.c_);
    if (poll(fds, 2, -1) < 0) continue;
    if (fds[0].revents) {
      char buf[256];
      if (read(STDIN_FILENO, buf, sizeof buf) <= 0) break;
    }
  }
  xcb_disconnect(d.c_);
  return 0;
}
