#include "platform/x11/x11_window_system.h"

#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>
#include <xcb/xcb_icccm.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "platform/codec.h"
#include "platform/x11/compound_text.h"
#include "text/cp932.h"
#include "text/title_match.h"

namespace zorvek {

namespace {

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

// Replies of a window that is gone meanwhile are errors: they come back empty.
Reply<xcb_get_property_reply_t> property_reply(xcb_connection_t* c,
                                               xcb_get_property_cookie_t cookie) {
  xcb_generic_error_t* error = nullptr;
  Reply<xcb_get_property_reply_t> r(xcb_get_property_reply(c, cookie, &error));
  std::free(error);
  return r;
}

Reply<xcb_query_tree_reply_t> tree_reply(xcb_connection_t* c, xcb_query_tree_cookie_t cookie) {
  xcb_generic_error_t* error = nullptr;
  Reply<xcb_query_tree_reply_t> r(xcb_query_tree_reply(c, cookie, &error));
  std::free(error);
  return r;
}

Reply<xcb_get_window_attributes_reply_t> attributes_reply(
    xcb_connection_t* c, xcb_get_window_attributes_cookie_t cookie) {
  xcb_generic_error_t* error = nullptr;
  Reply<xcb_get_window_attributes_reply_t> r(xcb_get_window_attributes_reply(c, cookie, &error));
  std::free(error);
  return r;
}

std::vector<xcb_window_t> children(const xcb_query_tree_reply_t* tree) {
  if (!tree) return {};
  const xcb_window_t* first = xcb_query_tree_children(tree);
  return {first, first + xcb_query_tree_children_length(tree)};
}

std::string_view property_bytes(const xcb_get_property_reply_t* r) {
  if (!r || r->format != 8) return {};
  return {static_cast<const char*>(xcb_get_property_value(r)),
          static_cast<std::size_t>(xcb_get_property_value_length(r))};
}

template <typename T>
std::vector<T> property_values(const xcb_get_property_reply_t* r) {
  if (!r || r->format != 32) return {};
  const auto* first = static_cast<const T*>(xcb_get_property_value(r));
  return {first, first + xcb_get_property_value_length(r) / 4};
}

// Bytes of a title fetched: enough for kMaxTitleBytes of CP932 from any encoding (a CP932 byte
// takes at most four UTF-8 bytes), in 32-bit units as the protocol counts.
constexpr uint32_t kTitleFetchUnits = (kMaxTitleBytes * 4 + 4) / 4;

// A value cut by the fetch may end inside a UTF-8 sequence; that piece is dropped rather than
// turned into "?".
std::string_view drop_partial_utf8(std::string_view s) {
  std::size_t start = s.size();
  for (int back = 0; back < 4 && start > 0; ++back) {
    const auto c = static_cast<unsigned char>(s[--start]);
    if ((c & 0xC0) == 0x80) continue;
    const std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return s.size() - start < need ? s.substr(0, start) : s;
  }
  return s;
}

std::string latin1_to_utf8(std::string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

struct X11WindowSystem::Connection {
  xcb_connection_t* c = nullptr;
  int screen = 0;
  xcb_window_t root = 0;
  xcb_ewmh_connection_t ewmh{};
  bool ewmh_ready = false;
  xcb_atom_t wm_state = XCB_NONE;
  xcb_atom_t wm_delete_window = XCB_NONE;
  xcb_atom_t compound_text = XCB_NONE;

  Connection() = default;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection() {
    if (ewmh_ready) xcb_ewmh_connection_wipe(&ewmh);
    if (c) xcb_disconnect(c);
  }

  xcb_get_property_cookie_t ask_net_name(xcb_window_t w) {
    return xcb_get_property(c, 0, w, ewmh._NET_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0,
                            kTitleFetchUnits);
  }
  xcb_get_property_cookie_t ask_wm_name(xcb_window_t w) {
    return xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0,
                            kTitleFetchUnits);
  }
  bool has_net_name(const xcb_get_property_reply_t* net_name) const {
    return !property_bytes(net_name).empty() && net_name->type == ewmh.UTF8_STRING;
  }

  // The title from _NET_WM_NAME, else from WM_NAME (null when not fetched).
  std::string title(const xcb_get_property_reply_t* net_name,
                    const xcb_get_property_reply_t* wm_name) const {
    std::string text;
    if (has_net_name(net_name)) {
      const std::string_view v = property_bytes(net_name);
      text = codec::to_cp932(net_name->bytes_after > 0 ? drop_partial_utf8(v) : v);
    } else if (const std::string_view v = property_bytes(wm_name); !v.empty()) {
      if (wm_name->type == compound_text) {
        text = x11::compound_text_to_cp932(v);
      } else if (wm_name->type == ewmh.UTF8_STRING) {
        text = codec::to_cp932(wm_name->bytes_after > 0 ? drop_partial_utf8(v) : v);
      } else {
        text = codec::to_cp932(latin1_to_utf8(v));  // STRING is Latin-1
      }
    }
    return std::string(cp932::cut(text, kMaxTitleBytes));
  }

  // Drops events and errors of earlier requests that are already waiting.
  void drain_events() {
    while (xcb_generic_event_t* ev = xcb_poll_for_event(c)) std::free(ev);
  }

  // What request_close watches on the window it asks: its end or its hiding (StructureNotify),
  // and a change of its WM_STATE (PropertyChange): a program may only minimise its window, and
  // window managers that keep minimised windows mapped show nothing else.
  static constexpr uint32_t kWatch =
      XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;

  // Waits until the window is destroyed, unmapped or changes its WM_STATE, or until the
  // deadline. kWatch must have been selected on it before it was asked to close.
  void wait_gone(xcb_window_t w, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
      while (xcb_generic_event_t* ev = xcb_poll_for_event(c)) {
        const uint8_t type = ev->response_type & 0x7F;
        bool gone = false;
        if (type == XCB_DESTROY_NOTIFY) {
          gone = reinterpret_cast<xcb_destroy_notify_event_t*>(ev)->window == w;
        } else if (type == XCB_UNMAP_NOTIFY) {
          gone = reinterpret_cast<xcb_unmap_notify_event_t*>(ev)->window == w;
        } else if (type == XCB_PROPERTY_NOTIFY) {
          const auto* e = reinterpret_cast<xcb_property_notify_event_t*>(ev);
          gone = e->window == w && e->atom == wm_state;
        }
        std::free(ev);
        if (gone) return;
      }
      if (xcb_connection_has_error(c)) return;
      const auto left =
          std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return;
      pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
      poll(&fd, 1, static_cast<int>(left.count()));
    }
  }
};

X11WindowSystem::X11WindowSystem(std::string display) : display_(std::move(display)) {}

X11WindowSystem::~X11WindowSystem() = default;

X11WindowSystem::Connection* X11WindowSystem::connection() {
  if (!tried_) {
    tried_ = true;
    auto x = std::make_unique<Connection>();
    x->c = xcb_connect(display_.empty() ? nullptr : display_.c_str(), &x->screen);
    if (xcb_connection_has_error(x->c)) return nullptr;
    // The atoms in one batch: one round trip.
    xcb_intern_atom_cookie_t* ewmh_cookies = xcb_ewmh_init_atoms(x->c, &x->ewmh);
    const char* names[] = {"WM_STATE", "WM_DELETE_WINDOW", "COMPOUND_TEXT"};
    xcb_atom_t* atoms[] = {&x->wm_state, &x->wm_delete_window, &x->compound_text};
    xcb_intern_atom_cookie_t cookies[std::size(names)];
    for (std::size_t i = 0; i < std::size(names); ++i) {
      cookies[i] = xcb_intern_atom(x->c, 0, static_cast<uint16_t>(std::strlen(names[i])), names[i]);
    }
    x->ewmh_ready = xcb_ewmh_init_atoms_replies(&x->ewmh, ewmh_cookies, nullptr) != 0;
    bool ok = x->ewmh_ready && x->screen >= 0 && x->screen < x->ewmh.nb_screens;
    for (std::size_t i = 0; i < std::size(names); ++i) {
      Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(x->c, cookies[i], nullptr));
      if (r) *atoms[i] = r->atom;
      ok = ok && r;
    }
    if (!ok) return nullptr;
    x->root = x->ewmh.screens[x->screen]->root;
    x_ = std::move(x);
  }
  if (!x_ || xcb_connection_has_error(x_->c)) return nullptr;
  return x_.get();
}

std::vector<TopLevelWindow> X11WindowSystem::top_level_windows() {
  Connection* x = connection();
  if (!x) return {};
  xcb_connection_t* c = x->c;
  constexpr std::size_t kNowhere = SIZE_MAX;

  // Every request costs the server a few microseconds, far more than one more round trip costs
  // when there are hundreds of windows; so the requests are spread over three round trips that
  // ask only what each window needs: the window manager's frames, most of the children of the
  // root, are never asked anything.

  // 1: the root's children, bottom to top, and the window manager's clients.
  const auto root_tree_cookie = xcb_query_tree(c, x->root);
  const auto client_list_cookie =
      xcb_get_property(c, 0, x->root, x->ewmh._NET_CLIENT_LIST, XCB_ATOM_WINDOW, 0, UINT32_MAX / 4);
  const std::vector<xcb_window_t> top = children(tree_reply(c, root_tree_cookie).get());
  const auto client_list = property_reply(c, client_list_cookie);
  const bool have_client_list = client_list && client_list->type == XCB_ATOM_WINDOW;
  const auto listed = property_values<xcb_window_t>(client_list.get());
  std::unordered_map<xcb_window_t, std::size_t> place;  // child of the root -> its index in top
  for (std::size_t i = 0; i < top.size(); ++i) place.emplace(top[i], i);

  // 2: the parent of each client, whose frame is the child of the root above it, and its title.
  struct Client {
    xcb_window_t id;
    xcb_window_t ancestor;
    std::size_t top_index;
    Reply<xcb_get_property_reply_t> net_name;
  };
  std::vector<Client> clients;
  {
    std::vector<std::pair<xcb_query_tree_cookie_t, xcb_get_property_cookie_t>> cookies;
    cookies.reserve(listed.size());
    for (const xcb_window_t w : listed)
      cookies.emplace_back(xcb_query_tree(c, w), x->ask_net_name(w));
    for (std::size_t k = 0; k < listed.size(); ++k) {
      const auto tree = tree_reply(c, cookies[k].first);
      auto net_name = property_reply(c, cookies[k].second);
      if (!tree || !net_name) continue;  // gone meanwhile
      const xcb_window_t w = listed[k];
      const xcb_window_t ancestor = place.contains(w) ? w : tree->parent;
      const auto at = place.find(ancestor);
      clients.push_back(
          {w, ancestor, at == place.end() ? kNowhere : at->second, std::move(net_name)});
    }
  }
  // A window manager that nests clients deeper: up one level per round trip, for those only.
  for (int depth = 0; depth < 4; ++depth) {
    std::vector<std::pair<Client*, xcb_query_tree_cookie_t>> lost;
    for (Client& cl : clients) {
      if (cl.top_index == kNowhere && cl.ancestor != XCB_NONE && cl.ancestor != x->root) {
        lost.emplace_back(&cl, xcb_query_tree(c, cl.ancestor));
      }
    }
    if (lost.empty()) break;
    for (auto& [cl, cookie] : lost) {
      const auto tree = tree_reply(c, cookie);
      cl->ancestor = tree ? tree->parent : XCB_NONE;
      if (const auto at = place.find(cl->ancestor); at != place.end()) cl->top_index = at->second;
    }
  }
  std::erase_if(clients, [&](const Client& cl) { return cl.top_index == kNowhere; });
  std::vector<bool> taken(top.size(), false);  // frames, and clients that are children of the root
  for (const Client& cl : clients) taken[cl.top_index] = true;

  // 3: every other child of the root: what kind of window it is and its title; and WM_NAME of
  // the clients that have no _NET_WM_NAME. Without a client list, also what is needed to find
  // clients inside frames.
  struct Other {
    std::size_t top_index;
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_property_cookie_t net_name;
    xcb_get_property_cookie_t wm_name;
    xcb_query_tree_cookie_t tree;
    xcb_get_property_cookie_t wm_state;
  };
  std::vector<Other> others;
  for (std::size_t i = 0; i < top.size(); ++i) {
    if (taken[i]) continue;
    const xcb_window_t w = top[i];
    Other o{i, xcb_get_window_attributes(c, w), x->ask_net_name(w), x->ask_wm_name(w), {}, {}};
    if (!have_client_list) {
      o.tree = xcb_query_tree(c, w);
      o.wm_state = xcb_get_property(c, 0, w, x->wm_state, x->wm_state, 0, 0);
    }
    others.push_back(o);
  }
  std::vector<std::optional<xcb_get_property_cookie_t>> client_wm_names;
  client_wm_names.reserve(clients.size());
  for (const Client& cl : clients) {
    client_wm_names.push_back(
        x->has_net_name(cl.net_name.get()) ? std::nullopt : std::optional(x->ask_wm_name(cl.id)));
  }

  struct Found {
    xcb_window_t id;
    std::string title;
  };
  std::vector<std::vector<Found>> found(top.size());  // by the place of the child of the root
  struct Below {
    std::size_t top_index;
    xcb_window_t id;
  };
  std::vector<Below> below;  // inside unmanaged windows, which may be frames of a WM without list
  for (const Other& o : others) {
    const auto attributes = attributes_reply(c, o.attributes);
    const auto net_name = property_reply(c, o.net_name);
    const auto wm_name = property_reply(c, o.wm_name);
    Reply<xcb_query_tree_reply_t> tree;
    bool has_wm_state = false;
    if (!have_client_list) {
      tree = tree_reply(c, o.tree);
      const auto state = property_reply(c, o.wm_state);
      has_wm_state = state && state->type == x->wm_state;
    }
    if (!attributes || !net_name || !wm_name) continue;  // gone meanwhile
    if (attributes->override_redirect || attributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY) {
      continue;
    }
    found[o.top_index].push_back({top[o.top_index], x->title(net_name.get(), wm_name.get())});
    if (!has_wm_state) {
      for (const xcb_window_t child : children(tree.get())) below.push_back({o.top_index, child});
    }
  }
  for (std::size_t k = 0; k < clients.size(); ++k) {
    const Client& cl = clients[k];
    Reply<xcb_get_property_reply_t> wm_name;
    if (client_wm_names[k]) {
      wm_name = property_reply(c, *client_wm_names[k]);
      if (!wm_name) continue;  // gone meanwhile
    }
    found[cl.top_index].push_back({cl.id, x->title(cl.net_name.get(), wm_name.get())});
  }

  // Only without a client list: look for WM_STATE below, a level per round trip. A window with
  // such a client inside is a frame and is replaced by its client.
  for (int depth = 0; depth < 3 && !below.empty(); ++depth) {
    struct Check {
      xcb_get_property_cookie_t wm_state, net_name, wm_name;
      xcb_query_tree_cookie_t tree;
    };
    std::vector<Check> checks;
    checks.reserve(below.size());
    for (const Below& b : below) {
      checks.push_back({xcb_get_property(c, 0, b.id, x->wm_state, x->wm_state, 0, 0),
                        x->ask_net_name(b.id), x->ask_wm_name(b.id), xcb_query_tree(c, b.id)});
    }
    std::vector<Below> next;
    for (std::size_t k = 0; k < below.size(); ++k) {
      const auto state = property_reply(c, checks[k].wm_state);
      const auto net_name = property_reply(c, checks[k].net_name);
      const auto wm_name = property_reply(c, checks[k].wm_name);
      const auto tree = tree_reply(c, checks[k].tree);
      const std::size_t i = below[k].top_index;
      if (state && state->type == x->wm_state) {
        if (!found[i].empty() && found[i].front().id == top[i]) found[i].clear();
        found[i].push_back({below[k].id, x->title(net_name.get(), wm_name.get())});
      } else {
        for (const xcb_window_t child : children(tree.get())) next.push_back({i, child});
      }
    }
    below = std::move(next);
  }

  std::vector<TopLevelWindow> windows;
  for (auto it = found.rbegin(); it != found.rend(); ++it) {
    for (Found& f : *it) windows.push_back({f.id, std::move(f.title)});
  }
  return windows;
}

void X11WindowSystem::request_close(WindowId id) {
  Connection* x = connection();
  if (!x || id == 0 || id > UINT32_MAX) return;
  xcb_connection_t* c = x->c;
  const auto w = static_cast<xcb_window_t>(id);

  // Watch the window before asking it, so that its going cannot slip by unseen.
  x->drain_events();
  xcb_change_window_attributes(c, w, XCB_CW_EVENT_MASK, &Connection::kWatch);
  const auto protocols_cookie = xcb_icccm_get_wm_protocols(c, w, x->ewmh.WM_PROTOCOLS);
  const auto state_cookie = xcb_get_property(c, 0, w, x->wm_state, x->wm_state, 0, 0);
  xcb_icccm_get_wm_protocols_reply_t protocols{};
  xcb_generic_error_t* error = nullptr;
  const bool has_protocols =
      xcb_icccm_get_wm_protocols_reply(c, protocols_cookie, &protocols, &error) != 0;
  const auto state = property_reply(c, state_cookie);
  bool takes_delete = false;
  if (has_protocols) {
    for (uint32_t i = 0; i < protocols.atoms_len; ++i) {
      takes_delete = takes_delete || protocols.atoms[i] == x->wm_delete_window;
    }
    xcb_icccm_get_wm_protocols_reply_wipe(&protocols);
  }
  const bool gone = error != nullptr || !state;
  std::free(error);
  if (gone) return;
  const bool managed = state->type == x->wm_state;

  if (takes_delete) {
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = w;
    ev.type = x->ewmh.WM_PROTOCOLS;
    ev.data.data32[0] = x->wm_delete_window;
    ev.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ev));
  } else {
    // The window manager closes it as its close box would, killing the program if need be.
    xcb_ewmh_request_close_window(&x->ewmh, x->screen, w, XCB_CURRENT_TIME,
                                  XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
  }
  // The round trip confirms the request has been delivered, and says whether the window is
  // still there.
  const auto still_there = attributes_reply(c, xcb_get_window_attributes(c, w));
  // A window that does not take WM_DELETE_WINDOW and is not managed has no one to close it.
  if (still_there && (takes_delete || managed)) {
    x->wait_gone(w, std::chrono::steady_clock::now() + kCloseWait);
  }
  const uint32_t none = XCB_EVENT_MASK_NO_EVENT;
  xcb_change_window_attributes(c, w, XCB_CW_EVENT_MASK, &none);
  xcb_flush(c);
}

}  // namespace zorvek
