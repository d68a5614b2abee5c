// Enumerating the top-level windows of a crowded desktop against its floor.
// Run on a private desktop: scripts/testbed --no-tray -- x11_enum_bench
//   BENCH enum-1000-vs-roundtrip <our time / floor> <=2
//
// The floor is one round trip that carries the least any enumeration with titles must ask: the
// title (_NET_WM_NAME) of each of the 1000 windows, all requests sent at once and every reply
// collected without looking at it. The window ids come from the window manager's client list,
// read beforehand. A bare round trip (tens of microseconds) would be no floor at all: the X
// server's work per request is what costs. The enumeration also asks each window's parent (its
// frame gives its place in the stacking order), looks at the other children of the root and
// converts the titles, two more round trips in all; a parent costs the server far less than a
// title, so it should stay under twice the floor. Much more means work per window has crept in,
// and a round trip per window would be ten times the floor or worse.
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <vector>

#include "platform/x11/x11_window_system.h"
#include "window_program.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWindows = 1000;
constexpr int kRuns = 15;

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t a = r ? r->atom : XCB_NONE;
  std::free(r);
  return a;
}

int run() {
  zorvek::testing::WindowProgram program({"-n", std::to_string(kWindows), "[{}] bench window"});

  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const xcb_atom_t net_wm_name = atom(c, "_NET_WM_NAME");
  xcb_get_property_reply_t* list = xcb_get_property_reply(
      c, xcb_get_property(c, 0, root, atom(c, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 0, 1u << 16),
      nullptr);
  const auto* first = static_cast<const xcb_window_t*>(xcb_get_property_value(list));
  const std::vector<xcb_window_t> clients(first, first + xcb_get_property_value_length(list) / 4);
  std::free(list);

  zorvek::X11WindowSystem windows;
  std::size_t listed = windows.top_level_windows().size();  // connects
  std::vector<double> ours, floor;
  std::vector<xcb_get_property_cookie_t> cookies(clients.size());
  for (int run = 0; run < kRuns; ++run) {
    auto start = Clock::now();
    listed = windows.top_level_windows().size();
    ours.push_back(std::chrono::duration<double>(Clock::now() - start).count());

    start = Clock::now();
    for (std::size_t i = 0; i < clients.size(); ++i) {
      cookies[i] =
          xcb_get_property(c, 0, clients[i], net_wm_name, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    }
    for (const auto cookie : cookies) std::free(xcb_get_property_reply(c, cookie, nullptr));
    floor.push_back(std::chrono::duration<double>(Clock::now() - start).count());
  }
  xcb_disconnect(c);

  const double our_time = median(ours), floor_time = median(floor);
  std::printf(
      "%zu windows listed (%zu clients): enumeration %.2f ms, floor %.2f ms (medians of %d)\n",
      listed, clients.size(), our_time * 1e3, floor_time * 1e3, kRuns);
  std::printf("BENCH enum-1000-vs-roundtrip %.2f <=2\n", our_time / floor_time);
  return 0;
}

}  // namespace

int main() {
  try {
    return run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
