// Start-up to the icon in the notification area, and idle memory, against a bare Qt program that
// only shows a tray icon (bare_tray): the floor for any Qt tray program.
// Run on a private desktop with a tray host: scripts/testbed -- tray_startup_bench [runs]
//   BENCH tray-startup-vs-bare-qt <our median / bare median> <=1.5
//   BENCH idle-rss-vs-bare-qt <our median / bare median> <=1.3
//
// The two programs are started in turn (which one goes first alternates from pair to pair), each
// from a folder of its own; Zorvek's folder holds a joutai.INI with a few environments, so that it
// starts as it ordinarily does, straight to the tray. One start of each is made first and not
// counted: it fills the page cache and the font caches.
//
// The time runs from just before the program is spawned to the moment its icon is drawn inside the
// tray host, seen through X events, not by polling:
// - embedded: the root's SubstructureNotify tells when a window of the program leaves the root for
//   a window of the tray host (the owner of _NET_SYSTEM_TRAY_Sn; X window ids carry the id base of
//   the client that made them);
// - mapped: StructureNotify on the icon window and each of its ancestors tells when it and all of
//   them are mapped. The tray host maps the icon itself once it has embedded it, whatever the
//   program is doing, so this moment alone would not see work the program does between asking
//   for the icon and reaching its event loop;
// - drawn: DAMAGE on the icon window reports the program's first drawing into it, made when its
//   event loop handles the icon's Expose. Showing a window also makes the server paint its
//   background while it handles the map. Events carry the sequence number of the last of our
//   requests the server had handled, so that damage is told apart by coming before the request
//   with which we found the icon mapped, and is not counted. When the icon was mapped before we
//   could watch it and no drawing follows, the drawing may have come before the watch: that start
//   is not counted but made again (rare; the count is printed).
// The time to "drawn" is the one compared; the time to "mapped" is printed beside it. The program
// then sits idle for 1.5 s, its VmRSS is read from /proc, and it is ended (SIGTERM, then
// SIGKILL); the next start waits until the tray host has dropped the old icon.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kDefaultRuns = 15;
constexpr auto kIdle = 1500ms;
constexpr auto kShowLimit = 10s;
constexpr auto kUnsureLimit = 2s;
constexpr int kMaxRepeats = 10;

// Environments as a user keeps them: Shift-JIS text, CR LF line ends.
constexpr char kIni[] =
    "[\x8d\xec\x8b\xc6]\r\nkill0=zv Editor\r\nexe0=/tmp/zv-none.txt\r\n"
    "[b]\r\nexe0=/tmp/zv-none\r\n"
    "[Zorveksystem]\r\n";

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

struct Memory {
  double rss = 0, anon = 0, file = 0, shmem = 0;  // KiB
};

Memory read_memory(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  Memory m;
  std::string key;
  double value = 0;
  while (status >> key) {
    if (key == "VmRSS:" && status >> value) m.rss = value;
    if (key == "RssAnon:" && status >> value) m.anon = value;
    if (key == "RssFile:" && status >> value) m.file = value;
    if (key == "RssShmem:" && status >> value) m.shmem = value;
  }
  if (m.rss == 0) throw std::runtime_error("no VmRSS for process " + std::to_string(pid));
  return m;
}

// The time the program's main thread has run, and has waited for a CPU, so far. The first tells
// its own work apart from a busy machine's delays, which the second shows.
struct CpuTime {
  double run_ms = 0, wait_ms = 0;
};

CpuTime read_cpu_time(pid_t pid) {
  std::ifstream schedstat("/proc/" + std::to_string(pid) + "/schedstat");
  double run_ns = 0, wait_ns = 0;
  schedstat >> run_ns >> wait_ns;
  return {run_ns / 1e6, wait_ns / 1e6};
}

struct Program {
  std::string name;  // also the instance part of its windows' WM_CLASS
  fs::path exe;
  std::vector<double> drawn_ms, mapped_ms, run_ms, wait_ms;
  std::vector<Memory> memory;
};

class Display {
 public:
  Display() : c_(xcb_connect(nullptr, &screen_)) {
    if (xcb_connection_has_error(c_)) throw std::runtime_error("cannot connect to the X server");
    const xcb_setup_t* setup = xcb_get_setup(c_);
    auto it = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screen_; ++i) xcb_screen_next(&it);
    root_ = it.data->root;
    id_mask_ = setup->resource_id_mask;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c_, &xcb_damage_id);
    if (!damage || !damage->present) throw std::runtime_error("the X server has no DAMAGE");
    damage_event_ = damage->first_event + XCB_DAMAGE_NOTIFY;
    std::free(xcb_damage_query_version_reply(c_, xcb_damage_query_version(c_, 1, 1), nullptr));
  }
  ~Display() { xcb_disconnect(c_); }
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  xcb_connection_t* c() const { return c_; }
  xcb_window_t root() const { return root_; }
  uint8_t damage_event() const { return damage_event_; }

  // The client that made a window, as X numbers clients.
  uint32_t client_of(xcb_window_t w) const { return w & ~id_mask_; }

  // Waits for the tray host; returns the client that owns the tray selection.
  uint32_t tray_host(std::chrono::seconds limit) {
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen_);
    auto* a = xcb_intern_atom_reply(
        c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    const xcb_atom_t selection = a ? a->atom : XCB_NONE;
    std::free(a);
    const auto deadline = Clock::now() + limit;
    for (;;) {
      auto* r = xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, selection), nullptr);
      const xcb_window_t owner = r ? r->owner : XCB_NONE;
      std::free(r);
      if (owner != XCB_NONE) return client_of(owner);
      if (Clock::now() > deadline) {
        throw std::runtime_error("no tray host owns " + name +
                                 "; run under scripts/testbed without --no-tray");
      }
      usleep(20000);
    }
  }

  // The next event, or nothing once the deadline has passed.
  std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> next_event(
      Clock::time_point deadline) {
    for (;;) {
      if (auto* e = xcb_poll_for_event(c_)) return {e, &std::free};
      if (xcb_connection_has_error(c_)) throw std::runtime_error("lost the X server");
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) return {nullptr, &std::free};
      pollfd fd{xcb_get_file_descriptor(c_), POLLIN, 0};
      poll(&fd, 1, static_cast<int>(std::min<long long>(left.count(), 50)));
    }
  }

  std::string wm_class_instance(xcb_window_t w) {
    auto* r = xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), nullptr);
    std::string instance;
    if (r) {
      const char* value = static_cast<const char*>(xcb_get_property_value(r));
      const int length = xcb_get_property_value_length(r);
      instance.assign(value, strnlen(value, static_cast<std::size_t>(length)));
    }
    std::free(r);
    return instance;
  }

  // The window and its ancestors below the root, from the window up.
  std::vector<xcb_window_t> lineage(xcb_window_t w) {
    std::vector<xcb_window_t> out;
    while (w != XCB_NONE && w != root_) {
      out.push_back(w);
      auto* r = xcb_query_tree_reply(c_, xcb_query_tree(c_, w), nullptr);
      w = r ? r->parent : XCB_NONE;
      std::free(r);
    }
    return out;
  }

  void watch(xcb_window_t w) {
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c_, w, XCB_CW_EVENT_MASK, &mask);
  }

  // Whether the window and all its ancestors are mapped; if so, also the request that found it,
  // whose sequence number later events carry once the server has handled it.
  std::optional<uint16_t> viewable(xcb_window_t w) {
    const auto cookie = xcb_get_window_attributes(c_, w);
    auto* r = xcb_get_window_attributes_reply(c_, cookie, nullptr);
    const bool yes = r && r->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(r);
    if (!yes) return std::nullopt;
    return static_cast<uint16_t>(cookie.sequence);
  }

  // Drawing into the window is reported from now on, as damage events.
  xcb_damage_damage_t watch_drawing(xcb_window_t w) {
    const xcb_damage_damage_t damage = xcb_generate_id(c_);
    xcb_damage_create(c_, damage, w, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    return damage;
  }

  void stop_watching_drawing(xcb_damage_damage_t damage) {
    xcb_damage_destroy(c_, damage);
    xcb_flush(c_);
  }

 private:
  int screen_ = 0;
  xcb_connection_t* c_;
  xcb_window_t root_ = XCB_NONE;
  uint32_t id_mask_ = 0;
  uint8_t damage_event_ = 0;
};

pid_t spawn(const Program& p) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  // Zorvek keeps its settings beside itself and its log in the folder it was started from.
  posix_spawn_file_actions_addchdir_np(&actions, p.exe.parent_path().c_str());
  std::string exe = p.exe.string();
  char* argv[] = {exe.data(), nullptr};
  pid_t pid = -1;
  const int r = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (r != 0) throw std::runtime_error("cannot start " + exe + ": " + std::strerror(r));
  return pid;
}

void end(pid_t pid) {
  kill(pid, SIGTERM);
  const auto deadline = Clock::now() + 2s;
  while (waitpid(pid, nullptr, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      return;
    }
    usleep(2000);
  }
}

class Bench {
 public:
  Bench() : tray_(display_.tray_host(5s)) {}

  // Starts the program, waits until its icon is seen in the tray, lets it idle, reads its memory
  // and ends it; starts it again when the drawing could not be watched.
  void run(Program& p, bool counted) {
    while (!run_once(p, counted)) {
      if (++repeats_ > kMaxRepeats) throw std::runtime_error("could not watch the icon drawn");
    }
  }

  int repeats() const { return repeats_; }

 private:
  struct MissedDrawing {};

  bool run_once(Program& p, bool counted) {
    const auto start = Clock::now();
    const pid_t pid = spawn(p);
    try {
      const Shown shown = wait_for_icon(p, pid, start + kShowLimit);
      const CpuTime cpu = read_cpu_time(pid);
      display_.stop_watching_drawing(damage_);
      // Idle, still watching that the program shows no window of its own.
      const auto idle_end = shown.drawn + kIdle;
      while (auto e = display_.next_event(idle_end)) check_no_window(p, e.get());
      const Memory memory = read_memory(pid);
      end(pid);
      wait_for_tray_to_drop_icon();
      if (counted) {
        p.mapped_ms.push_back(ms(shown.mapped - start));
        p.drawn_ms.push_back(ms(shown.drawn - start));
        p.run_ms.push_back(cpu.run_ms);
        p.wait_ms.push_back(cpu.wait_ms);
        p.memory.push_back(memory);
      }
      return true;
    } catch (const MissedDrawing&) {
      end(pid);
      wait_for_tray_to_drop_icon();
      return false;
    } catch (...) {
      end(pid);
      throw;
    }
  }

  struct Shown {
    Clock::time_point mapped, drawn;
  };

  Shown wait_for_icon(const Program& p, pid_t pid, Clock::time_point deadline) {
    icon_.clear();
    std::optional<Clock::time_point> mapped;
    uint16_t mapped_found_by = 0;  // the request that found the icon viewable
    int damage_before = 0;         // damage the server had done before handling that request
    bool unsure = false;           // mapped before the drawing was watched, as far as we know
    for (;;) {
      auto e = display_.next_event(std::min(deadline, Clock::now() + 50ms));
      const auto seen = Clock::now();
      if (!e) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
          throw std::runtime_error(p.name + " ended before its icon was shown");
        }
        if (unsure && seen > *mapped + kUnsureLimit) throw MissedDrawing{};
        if (seen > deadline) {
          throw std::runtime_error(
              p.name + (mapped ? " drew nothing into its tray icon" : " showed no tray icon"));
        }
        continue;
      }
      const auto type = e->response_type & 0x7f;
      if (type == XCB_REPARENT_NOTIFY) {
        const auto* r = reinterpret_cast<const xcb_reparent_notify_event_t*>(e.get());
        if (r->event == display_.root() && display_.client_of(r->parent) == tray_ &&
            display_.wm_class_instance(r->window) == p.name) {
          // Embedded: from now on every map on the way up to the root matters.
          damage_ = display_.watch_drawing(r->window);
          icon_ = display_.lineage(r->window);
          for (const xcb_window_t w : icon_) display_.watch(w);
          if (const auto found_by = display_.viewable(icon_.front())) {
            mapped = Clock::now();
            mapped_found_by = *found_by;
            unsure = true;
          }
          continue;
        }
        check_no_window(p, e.get());
      } else if (type == XCB_MAP_NOTIFY && !icon_.empty() && !mapped) {
        const auto* m = reinterpret_cast<const xcb_map_notify_event_t*>(e.get());
        if (std::find(icon_.begin(), icon_.end(), m->window) == icon_.end()) continue;
        if (const auto found_by = display_.viewable(icon_.front())) {
          mapped = seen;
          mapped_found_by = *found_by;
        }
      } else if (type == display_.damage_event() && mapped) {
        const auto* d = reinterpret_cast<const xcb_damage_notify_event_t*>(e.get());
        if (d->damage != damage_) continue;
        // Damage from before the server handled our request is the background it painted when
        // the icon appeared, one rectangle for an icon in plain sight; more than that is the
        // program having drawn already.
        const bool after = static_cast<int16_t>(d->sequence - mapped_found_by) >= 0;
        if (after || ++damage_before > 1) return {*mapped, seen};
        unsure = false;  // the watch began before the map
      }
    }
  }

  // The program must start in the tray: a window of its own taken in by the window manager means
  // it did not.
  void check_no_window(const Program& p, const xcb_generic_event_t* e) {
    if ((e->response_type & 0x7f) != XCB_REPARENT_NOTIFY) return;
    const auto* r = reinterpret_cast<const xcb_reparent_notify_event_t*>(e);
    if (r->event == display_.root() && display_.client_of(r->parent) != tray_ &&
        display_.wm_class_instance(r->window) == p.name) {
      throw std::runtime_error(p.name + " showed a window instead of starting in the tray");
    }
  }

  // The tray host destroys the socket that held the icon once the icon is gone.
  void wait_for_tray_to_drop_icon() {
    if (icon_.size() < 2) return;
    const xcb_window_t socket = icon_[1];
    const auto deadline = Clock::now() + 2s;
    while (auto e = display_.next_event(deadline)) {
      if ((e->response_type & 0x7f) == XCB_DESTROY_NOTIFY &&
          reinterpret_cast<const xcb_destroy_notify_event_t*>(e.get())->window == socket) {
        break;
      }
    }
    // Let the tray host lay itself out again.
    const auto settle = Clock::now() + 200ms;
    while (display_.next_event(settle)) {
    }
  }

  Display display_;
  uint32_t tray_;
  int repeats_ = 0;
  std::vector<xcb_window_t> icon_;  // the icon window and its ancestors, once embedded
  xcb_damage_damage_t damage_ = XCB_NONE;
};

void report(const Program& p) {
  auto field = [&](double Memory::*f) {
    std::vector<double> v;
    for (const Memory& m : p.memory) v.push_back(m.*f / 1024);
    return median(v);
  };
  const auto [lo, hi] = std::minmax_element(p.drawn_ms.begin(), p.drawn_ms.end());
  std::fprintf(stderr,
               "%-9s icon drawn after %6.1f ms (%.1f-%.1f; mapped after %.1f; main thread ran "
               "%.1f, waited for a CPU %.1f), idle VmRSS %5.1f MiB (anon %.1f, file %.1f, "
               "shmem %.1f), medians of %zu\n",
               p.name.c_str(), median(p.drawn_ms), *lo, *hi, median(p.mapped_ms), median(p.run_ms),
               median(p.wait_ms), field(&Memory::rss), field(&Memory::anon), field(&Memory::file),
               field(&Memory::shmem), p.drawn_ms.size());
}

int run(int runs) {
  const fs::path work = [] {
    std::string pattern = (fs::temp_directory_path() / "zorvek-traybench.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    return fs::path(pattern);
  }();
  struct Remove {
    fs::path dir;
    ~Remove() {
      std::error_code ec;
      fs::remove_all(dir, ec);
    }
  } remove{work};

  // Each program runs as a copy in a folder of its own, so both load from the same file system.
  auto place = [&](const std::string& name, const fs::path& built) {
    fs::create_directory(work / name);
    fs::copy_file(built, work / name / name);
    Program p;
    p.name = name;
    p.exe = work / name / name;
    return p;
  };
  Program ours = place("zorvek", ZORVEK_PROGRAM);
  Program bare = place("bare_tray", ZORVEK_BARE_TRAY);
  std::ofstream(work / "zorvek" / "joutai.INI", std::ios::binary) << kIni;

  Bench bench;
  bench.run(ours, false);
  bench.run(bare, false);
  for (int i = 0; i < runs; ++i) {
    Program& first = i % 2 ? bare : ours;
    Program& second = i % 2 ? ours : bare;
    bench.run(first, true);
    bench.run(second, true);
  }

  report(ours);
  report(bare);
  if (bench.repeats() > 0) {
    std::fprintf(stderr, "%d start(s) made again: icon drawn before it could be watched\n",
                 bench.repeats());
  }
  auto rss = [](const Program& p) {
    std::vector<double> v;
    for (const Memory& m : p.memory) v.push_back(m.rss);
    return median(v);
  };
  std::printf("BENCH tray-startup-vs-bare-qt %.2f <=1.5\n",
              median(ours.drawn_ms) / median(bare.drawn_ms));
  std::printf("BENCH idle-rss-vs-bare-qt %.2f <=1.3\n", rss(ours) / rss(bare));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const int runs = argc > 1 ? std::atoi(argv[1]) : kDefaultRuns;
    if (runs < 1) throw std::invalid_argument("usage: tray_startup_bench [runs]");
    return run(runs);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tray_startup_bench: %s\n", e.what());
    return 1;
  }
}
