// Closing windows by title among hundreds, the way a switch does it (enumerate, match, ask, wait
// for the window to go), against `wmctrl -c` closing windows of the same kind.
// Run on a private desktop: scripts/testbed --no-tray -- x11_close_bench
//   BENCH close20-of-500-vs-wmctrl <wmctrl time / our time> >=10
#include <spawn.h>
#include <sys/wait.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "platform/x11/x11_window_system.h"
#include "switch/close_by_title.h"
#include "window_program.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCloses = 20;
constexpr int kRounds = 3;  // per side, alternating
// 500 windows on average over the rounds, which close 2 * kRounds * kCloses of them.
constexpr int kWindows = 500 + kRounds * kCloses;

std::string entry(int index) {
  char text[16];
  std::snprintf(text, sizeof text, "[%03d]", index);
  return text;
}

// The windows of one run: spread over the whole stacking order, different in every run.
std::vector<int> targets(int run) {
  std::vector<int> out;
  out.reserve(kCloses);
  for (int k = 0; k < kCloses; ++k) out.push_back(k * (kWindows / kCloses) + run);
  return out;
}

// Seconds one `wmctrl -c title` takes, or a negative number when it fails.
double run_wmctrl(const std::string& title) {
  std::string program = "wmctrl", close = "-c", target = title;
  char* argv[] = {program.data(), close.data(), target.data(), nullptr};
  const auto start = Clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, "wmctrl", nullptr, nullptr, argv, environ) != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  const double took = std::chrono::duration<double>(Clock::now() - start).count();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? took : -1;
}

// wmctrl goes by the window manager's client list, and through Xlib it exits at the first listed
// window that no longer exists; so between its runs (and not timed) the list must catch up.
class ClientList {
 public:
  ClientList() : c_(xcb_connect(nullptr, nullptr)) {
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    const char name[] = "_NET_CLIENT_LIST";
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, sizeof name - 1, name), nullptr);
    atom_ = r ? r->atom : XCB_NONE;
    std::free(r);
  }
  ~ClientList() { xcb_disconnect(c_); }
  ClientList(const ClientList&) = delete;
  ClientList& operator=(const ClientList&) = delete;

  void wait_without(const std::vector<std::uint64_t>& gone) {
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (Clock::now() < deadline) {
      xcb_get_property_reply_t* r = xcb_get_property_reply(
          c_, xcb_get_property(c_, 0, root_, atom_, XCB_ATOM_WINDOW, 0, 1u << 16), nullptr);
      bool stale = false;
      if (r) {
        const auto* v = static_cast<const xcb_window_t*>(xcb_get_property_value(r));
        for (int i = 0; i < xcb_get_property_value_length(r) / 4; ++i) {
          stale = stale || std::find(gone.begin(), gone.end(), v[i]) != gone.end();
        }
      }
      std::free(r);
      if (!stale) return;
      usleep(1000);
    }
  }

 private:
  xcb_connection_t* c_;
  xcb_window_t root_ = 0;
  xcb_atom_t atom_ = XCB_NONE;
};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

int run() {
  zorvek::testing::WindowProgram program({"-n", std::to_string(kWindows), "[{}] bench window"});
  ClientList client_list;
  zorvek::X11WindowSystem windows;
  windows.top_level_windows();  // the program keeps its connection: open it beforehand

  std::vector<double> ours, theirs;
  bool all_closed = true;
  for (int round = 0; round < kRounds; ++round) {
    zorvek::CloseRound close_round;
    const auto start = Clock::now();
    for (const int i : targets(2 * round)) zorvek::close_by_title(windows, entry(i), close_round);
    ours.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    all_closed = all_closed && program.closes(kCloses, std::chrono::seconds(5)).size() == kCloses;
    std::vector<std::uint64_t> closed;
    for (const int i : targets(2 * round)) closed.push_back(program.id(i));
    client_list.wait_without(closed);

    double total = 0;
    for (const int i : targets(2 * round + 1)) {
      const double took = run_wmctrl(entry(i));
      if (took < 0) {
        std::printf("wmctrl -c %s failed (is wmctrl installed?)\n", entry(i).c_str());
        return 1;
      }
      total += took;
      client_list.wait_without({program.id(i)});
    }
    theirs.push_back(total);
    all_closed = all_closed && program.closes(kCloses, std::chrono::seconds(5)).size() == kCloses;
  }
  if (!all_closed) std::printf("warning: not every target window was asked to close\n");

  const double our_time = median(ours), their_time = median(theirs);
  std::printf("close %d of ~500 windows: ours %.1f ms, wmctrl -c %.1f ms (medians of %d)\n",
              kCloses, our_time * 1e3, their_time * 1e3, kRounds);
  std::printf("BENCH close20-of-500-vs-wmctrl %.1f >=10\n", their_time / our_time);
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
