// Against a real X server with a window manager: run under scripts/testbed.
#include "platform/x11/x11_window_system.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/codec.h"
#include "platform/x11/compound_text.h"
#include "switch/close_by_title.h"
#include "text/title_match.h"
#include "window_program.h"

namespace zorvek {
namespace {

using testing::WindowProgram;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Titles of this run start with this, apart from whatever else is on the desktop.
const std::string kPrefix = "zvk" + std::to_string(getpid()) + " ";
std::string titled(const std::string& utf8) {
  return kPrefix + utf8;
}

// What the tests check the window system against: the X server and the window manager asked
// directly.
class Server {
 public:
  Server() : c_(xcb_connect(nullptr, nullptr)) {
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    const char name[] = "_NET_CLIENT_LIST_STACKING";
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, sizeof name - 1, name), nullptr);
    stacking_ = r ? r->atom : XCB_NONE;
    std::free(r);
  }
  ~Server() { xcb_disconnect(c_); }

  // The window manager's stacking order of these windows, top first.
  std::vector<WindowId> stacking(const std::vector<WindowId>& of) {
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, root_, stacking_, XCB_ATOM_WINDOW, 0, 1u << 16), nullptr);
    std::vector<WindowId> out;
    if (r) {
      const auto* v = static_cast<const xcb_window_t*>(xcb_get_property_value(r));
      for (int i = xcb_get_property_value_length(r) / 4 - 1; i >= 0; --i) {
        if (std::find(of.begin(), of.end(), v[i]) != of.end()) out.push_back(v[i]);
      }
    }
    std::free(r);
    return out;
  }

  WindowId parent(WindowId w) {
    xcb_query_tree_reply_t* r =
        xcb_query_tree_reply(c_, xcb_query_tree(c_, static_cast<xcb_window_t>(w)), nullptr);
    const WindowId p = r ? r->parent : 0;
    std::free(r);
    return p;
  }

  // Asks for the window to be raised, as a program raising its own window does.
  void raise(WindowId w) {
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c_, static_cast<xcb_window_t>(w), XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(c_);
  }

  WindowId root() const { return root_; }

 private:
  xcb_connection_t* c_;
  xcb_window_t root_ = 0;
  xcb_atom_t stacking_ = XCB_NONE;
};

// The listed windows that belong to the program, in the listed order.
std::vector<TopLevelWindow> of_program(const std::vector<TopLevelWindow>& all,
                                       const WindowProgram& program) {
  std::vector<TopLevelWindow> out;
  for (const TopLevelWindow& w : all) {
    const auto& ids = program.ids();
    if (std::find(ids.begin(), ids.end(), w.id) != ids.end()) out.push_back(w);
  }
  return out;
}

std::vector<WindowId> ids_of(const std::vector<TopLevelWindow>& windows) {
  std::vector<WindowId> out;
  for (const TopLevelWindow& w : windows) out.push_back(w.id);
  return out;
}

bool listed(X11WindowSystem& windows, WindowId id) {
  const auto all = windows.top_level_windows();
  return std::any_of(all.begin(), all.end(), [id](const TopLevelWindow& w) { return w.id == id; });
}

TEST(X11WindowSystem, ListsEveryClientWindowOnceWithItsTitle) {
  std::string long_title = "long ";
  for (int i = 0; i < 150; ++i) long_title += "あ";
  WindowProgram program({"-w", "-",         titled("plain"),           // 0
                         "-w", "hidden",    titled("hidden"),          // 1
                         "-w", "withdrawn", titled("withdrawn"),       // 2
                         "-w", "notitle",   "",                        // 3
                         "-w", "-",         titled("日本語の窓 😀"),    // 4
                         "-w", "latin1",    titled("café"),            // 5
                         "-w", "ctext",     titled("漢字のタイトル"),  // 6
                         "-w", "-",         titled(long_title)});      // 7
  // 254 bytes at most, and never half a character: the prefix is ASCII, "あ" two bytes.
  const std::string long_head = jp(titled("long "));
  std::string long_expected = long_head;
  while (long_expected.size() + 2 <= kMaxTitleBytes) long_expected += jp("あ");
  const std::vector<std::string> expected = {jp(titled("plain")),
                                             jp(titled("hidden")),
                                             jp(titled("withdrawn")),
                                             "",
                                             jp(titled("日本語の窓 ")) + "?",
                                             jp(titled("caf")) + "?",
                                             jp(titled("漢字のタイトル")),
                                             long_expected};

  X11WindowSystem windows;
  const auto all = windows.top_level_windows();

  std::map<WindowId, std::vector<std::string>> seen;
  for (const TopLevelWindow& w : all) seen[w.id].push_back(w.title);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(seen[program.id(i)], std::vector<std::string>{expected[i]}) << "window " << i;
  }
  // No frame, no root, and nothing else with this run's titles.
  Server server;
  for (const std::size_t i : {0, 4, 5, 6, 7}) {
    const WindowId frame = server.parent(program.id(i));
    ASSERT_NE(frame, server.root()) << "window " << i << " is not managed";
    EXPECT_FALSE(seen.contains(frame)) << "frame of window " << i;
  }
  EXPECT_FALSE(seen.contains(server.root()));
  EXPECT_EQ(of_program(all, program).size(), expected.size());
  for (const TopLevelWindow& w : all) {
    if (w.title.starts_with(jp(kPrefix))) {
      EXPECT_EQ(seen[w.id].size(), 1u);
    }
  }
  const std::size_t ours = std::count_if(all.begin(), all.end(), [&](const TopLevelWindow& w) {
    return w.title.starts_with(jp(kPrefix));
  });
  EXPECT_EQ(ours, expected.size() - 1);  // all but the untitled one
}

TEST(X11WindowSystem, TopOfTheStackingOrderComesFirst) {
  WindowProgram program({"-w", "-", titled("a"), "-w", "-", titled("b"), "-w", "hidden",
                         titled("hidden"), "-w", "-", titled("c"), "-w", "-", titled("d")});
  const std::vector<WindowId> managed = {program.id(0), program.id(1), program.id(3),
                                         program.id(4)};
  X11WindowSystem windows;
  Server server;
  auto managed_listed = [&] {
    std::vector<WindowId> out;
    for (const WindowId id : ids_of(of_program(windows.top_level_windows(), program))) {
      if (std::find(managed.begin(), managed.end(), id) != managed.end()) out.push_back(id);
    }
    return out;
  };
  EXPECT_EQ(managed_listed(), server.stacking(managed));

  const WindowId bottom = server.stacking(managed).back();
  server.raise(bottom);
  const auto deadline = Clock::now() + 2s;
  while (server.stacking(managed).front() != bottom && Clock::now() < deadline) {
    std::this_thread::sleep_for(5ms);
  }
  ASSERT_EQ(server.stacking(managed).front(), bottom) << "the window manager did not raise it";
  EXPECT_EQ(managed_listed(), server.stacking(managed));
}

TEST(X11WindowSystem, ClosesOneMatchingWindowPerEntryInOrder) {
  WindowProgram program({"-w", "-",         titled("alpha"),        // 0
                         "-w", "-",         titled("beta"),         // 1
                         "-w", "-",         titled("twin"),         // 2
                         "-w", "-",         titled("twin"),         // 3
                         "-w", "hidden",    titled("hidden"),       // 4
                         "-w", "ignore",    titled("stubborn"),     // 5
                         "-w", "-",         titled("ソフト"),       // 6: 0x5C inside "ソ" only
                         "-w", "withdrawn", titled("withdrawn"),    // 7
                         "-w", "iconify",   titled("minimiser")});  // 8
  X11WindowSystem windows;
  const auto listed_before = ids_of(of_program(windows.top_level_windows(), program));
  const auto twin_first =
      std::find_if(listed_before.begin(), listed_before.end(),
                   [&](WindowId id) { return id == program.id(2) || id == program.id(3); });
  ASSERT_NE(twin_first, listed_before.end());
  const int first_twin = *twin_first == program.id(2) ? 2 : 3;

  CloseRound round;  // one switch
  auto close = [&](const std::string& utf8, std::size_t expected_count) {
    close_by_title(windows, jp(utf8), round);
    return program.closes(expected_count, expected_count ? 2000ms : 50ms);
  };
  EXPECT_EQ(close(titled("alpha"), 1), std::vector{0});
  EXPECT_FALSE(listed(windows, program.id(0))) << "gone by the time the call returns";
  EXPECT_EQ(close(titled("twin"), 1), std::vector{first_twin});
  EXPECT_EQ(close(titled("twin"), 1), std::vector{5 - first_twin});
  EXPECT_EQ(close(titled("hid"), 1), std::vector{4});
  EXPECT_EQ(close(titled("withdrawn"), 1), std::vector{7});

  const auto start = Clock::now();
  EXPECT_EQ(close(titled("stubborn"), 1), std::vector{5});
  const auto took = Clock::now() - start;
  EXPECT_GE(took, X11WindowSystem::kCloseWait);
  EXPECT_LT(took, X11WindowSystem::kCloseWait + 300ms);
  EXPECT_TRUE(listed(windows, program.id(5)));
  EXPECT_EQ(close(titled("stubborn"), 0), std::vector<int>{}) << "asked once only";

  // A program that only minimises its window has dealt with the request all the same.
  const auto minimise_start = Clock::now();
  EXPECT_EQ(close(titled("minimiser"), 1), std::vector{8});
  EXPECT_LT(Clock::now() - minimise_start, X11WindowSystem::kCloseWait);
  EXPECT_TRUE(listed(windows, program.id(8)));

  EXPECT_EQ(close("\\", 0), std::vector<int>{});
  EXPECT_EQ(close(titled("Beta"), 0), std::vector<int>{});
  EXPECT_EQ(program.closes(0, 200ms), std::vector<int>{});
  EXPECT_TRUE(listed(windows, program.id(1)));
  EXPECT_TRUE(listed(windows, program.id(6)));
}

TEST(X11WindowSystem, WindowWithoutDeleteProtocolIsClosedByTheWindowManager) {
  WindowProgram program({"-w", "nodelete", titled("no delete")});
  X11WindowSystem windows;
  CloseRound round;

  const auto start = Clock::now();
  close_by_title(windows, jp(titled("no delete")), round);
  EXPECT_LT(Clock::now() - start, X11WindowSystem::kCloseWait) << "its end went unnoticed";

  EXPECT_FALSE(listed(windows, program.id(0)));
  EXPECT_TRUE(program.ended(2000ms)) << "the window manager kills the program";
  EXPECT_EQ(program.closes(0, 0ms), std::vector<int>{});
}

TEST(X11WindowSystem, WindowsThatVanishAreSkipped) {
  X11WindowSystem windows;
  {
    WindowProgram program({"-n", "200", titled("vanishing {}")});
    const std::vector<WindowId> ids = program.ids();
    program.kill_now();
    // The window manager's client list still names the dead windows for a while.
    const auto deadline = Clock::now() + 5s;
    bool any = true;
    while (any && Clock::now() < deadline) {
      const auto all = windows.top_level_windows();
      any = std::any_of(all.begin(), all.end(), [&](const TopLevelWindow& w) {
        return std::find(ids.begin(), ids.end(), w.id) != ids.end();
      });
    }
    EXPECT_FALSE(any);
    windows.request_close(ids.front());  // gone: nothing happens
  }
  EXPECT_FALSE(windows.top_level_windows().empty());
}

TEST(X11WindowSystem, WithoutADisplayThereAreNoWindows) {
  X11WindowSystem windows(":65000");
  EXPECT_TRUE(windows.top_level_windows().empty());
  windows.request_close(0x400001);
  EXPECT_TRUE(windows.top_level_windows().empty());
}

TEST(CompoundText, DecodesTheSetsOfJapaneseAndWesternTitles) {
  struct Case {
    std::string text;
    std::string expected_utf8;
  };
  const std::vector<Case> cases = {
      {"plain", "plain"},
      {"caf\xE9", "caf?"},                                  // Latin-1 right half; CP932 has no é
      {"\x1b$)B\xC6\xFC\xCB\xDC", "日本"},                  // JIS X 0208 in the right half
      {"\x1b$(B\x46\x7C\x4B\x5C", "日本"},                  // and in the left half
      {"\x1b$(B\x46\x7C\x1b(B!", "日!"},                    // then ASCII again
      {"\x1b)I\xB1\xB2", "ｱｲ"},                             // JIS X 0201 katakana
      {"a\x1b%G\xE2\x82\xAC\xE3\x81\x82\x1b%@b", "a?あb"},  // UTF-8 segment
      {"\x1b$)A\xB0\xA1x", "?x"},                           // GB 2312: not decoded
      {"\x1b-F\xE1z", "?z"},                                // Greek right half: not decoded
      {"\x9B"
       "1]rtl\x9B]",
       "rtl"},  // direction controls are dropped
  };
  for (const auto& c : cases) {
    EXPECT_EQ(x11::compound_text_to_cp932(c.text), jp(c.expected_utf8)) << c.expected_utf8;
  }
}

}  // namespace
}  // namespace zorvek
