#include "switch/switch_steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "platform/fake/fake_check_item.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_list_box.h"
#include "platform/fake/fake_prompts.h"
#include "platform/fake/fake_shell.h"
#include "support/temp_dir.h"

namespace zorvek {
namespace {

using testing::read_file;
using testing::TempDir;

const std::string kClose = "\x8f\x49\x97\xb9[";   // 終了[
const std::string kLaunch = "\x8b\x4e\x93\xae[";  // 起動[

// Windows that stay open after being asked to close, as a slow program's would: only the asked
// set keeps a second request away from them.
class SlowWindows : public WindowSystem {
 public:
  SlowWindows(std::vector<std::string>& journal, std::vector<TopLevelWindow> windows)
      : journal_(journal), windows_(std::move(windows)) {}
  std::vector<TopLevelWindow> top_level_windows() override { return windows_; }
  void request_close(WindowId id) override { journal_.push_back("close " + std::to_string(id)); }

 private:
  std::vector<std::string>& journal_;
  std::vector<TopLevelWindow> windows_;
};

class SwitchSteps : public ::testing::Test {
 protected:
  void SetUp() override {
    clock.set_step(1);
    shell.on_open([this](const FakeShell::Call& call) { journal.push_back("open " + call.file); });
  }

  std::string log_text() const { return read_file(dir / "zorvek010512.log"); }
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    std::transform(std::filesystem::directory_iterator(dir.path()),
                   std::filesystem::directory_iterator(), std::back_inserter(names),
                   [](const auto& e) { return e.path().filename().string(); });
    return names;
  }

  std::vector<std::string> journal;
  SlowWindows windows{journal, {{1, "Notepad - a.txt"}, {2, "Calc"}, {3, "Notepad - b.txt"}}};
  FakeShell shell;
  FakePrompts prompts;
  FakeClock clock{2001, 5, 12, 9, 3, 7};
  FakeCheckItem flg_log_mnu{true};
  FakeListBox kill_lst;
  FakeListBox active_lst;
  TempDir dir;
  SwitchParts parts{kill_lst, active_lst, flg_log_mnu, windows, shell, prompts, clock};
};

TEST_F(SwitchSteps, ClosesAllThenLaunchesAllLoggingEachNonEmptyEntry) {
  kill_lst.set_lines({"Notepad", "", "Nowhere", "Calc"});
  active_lst.set_lines({"", "/x/a b.txt"});
  close_and_launch(parts, dir.path());

  EXPECT_EQ(journal, (std::vector<std::string>{"close 1", "close 2", "open /x/a b.txt"}));
  EXPECT_EQ(shell.calls(), (std::vector<FakeShell::Call>{{"/x/a b.txt", "/x"}}));
  // A line per entry acted on, matched or not, each with its own time.
  EXPECT_EQ(log_text(), kClose + "2001/05/12/ 09:03:08] Notepad\r\n" +      //
                            kClose + "2001/05/12/ 09:03:09] Nowhere\r\n" +  //
                            kClose + "2001/05/12/ 09:03:10] Calc\r\n" +     //
                            kLaunch + "2001/05/12/ 09:03:11] /x/a b.txt\r\n");
  EXPECT_TRUE(flg_log_mnu.checked());
}

TEST_F(SwitchSteps, AnEntryListedTwiceClosesTheNextMatchingWindow) {
  kill_lst.set_lines({"Notepad", "Notepad", "Notepad"});
  close_and_launch(parts, dir.path());
  EXPECT_EQ(journal, (std::vector<std::string>{"close 1", "close 3"}));
  // Still a line for the third, which found no window left to ask.
  EXPECT_EQ(log_text(), kClose + "2001/05/12/ 09:03:08] Notepad\r\n" +      //
                            kClose + "2001/05/12/ 09:03:09] Notepad\r\n" +  //
                            kClose + "2001/05/12/ 09:03:10] Notepad\r\n");
}

TEST_F(SwitchSteps, AMissingFileIsReportedAndTheRestStillLaunchedAndLogged) {
  active_lst.set_lines({"/a.txt", "/gone.txt", "/b/c.txt"});
  shell.set_result("/gone.txt", OpenResult::not_found);
  shell.set_result("/a.txt", OpenResult::failed);
  close_and_launch(parts, dir.path());

  EXPECT_EQ(journal, (std::vector<std::string>{"open /a.txt", "open /gone.txt", "open /b/c.txt"}));
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_TRUE(prompts.shown()[0].text.ends_with("\n/gone.txt"));
  EXPECT_EQ(log_text(), kLaunch + "2001/05/12/ 09:03:08] /a.txt\r\n" +         //
                            kLaunch + "2001/05/12/ 09:03:09] /gone.txt\r\n" +  //
                            kLaunch + "2001/05/12/ 09:03:10] /b/c.txt\r\n");
}

TEST_F(SwitchSteps, WithLoggingOffNoFileIsMade) {
  flg_log_mnu.set_checked(false);
  kill_lst.set_lines({"Calc"});
  active_lst.set_lines({"/a.txt"});
  close_and_launch(parts, dir.path());
  EXPECT_EQ(journal, (std::vector<std::string>{"close 2", "open /a.txt"}));
  EXPECT_TRUE(files().empty());
}

TEST_F(SwitchSteps, ALogThatCannotBeOpenedSwitchesLoggingOffAndTheSwitchGoesOn) {
  std::filesystem::create_directory(dir / "zorvek010512.log");
  kill_lst.set_lines({"Calc"});
  active_lst.set_lines({"/a.txt"});
  close_and_launch(parts, dir.path());
  EXPECT_FALSE(flg_log_mnu.checked());
  EXPECT_EQ(journal, (std::vector<std::string>{"close 2", "open /a.txt"}));
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(SwitchSteps, OneSwitchWritesToTheFileOfTheDayItBegan) {
  FakeClock late{2001, 5, 12, 23, 59, 58};
  late.set_step(1);
  const SwitchParts late_parts{kill_lst, active_lst, flg_log_mnu, windows, shell, prompts, late};
  kill_lst.set_lines({"Calc"});
  active_lst.set_lines({"/a.txt"});
  close_and_launch(late_parts, dir.path());
  EXPECT_EQ(files(), std::vector<std::string>{"zorvek010512.log"});
  EXPECT_EQ(log_text(), kClose + "2001/05/12/ 23:59:59] Calc\r\n" +  //
                            kLaunch + "2001/05/13/ 00:00:00] /a.txt\r\n");
}

TEST_F(SwitchSteps, TheLogLiesInTheCurrentDirectory) {
  struct Enter {
    explicit Enter(const std::filesystem::path& to) { std::filesystem::current_path(to); }
    ~Enter() {
      std::error_code ignored;
      std::filesystem::current_path(before, ignored);
    }
    std::filesystem::path before = std::filesystem::current_path();
  };
  active_lst.set_lines({"/a.txt"});
  {
    const Enter enter(dir.path());
    close_and_launch(parts);
    close_and_launch(parts);
  }
  EXPECT_EQ(log_text(), kLaunch + "2001/05/12/ 09:03:08] /a.txt\r\n" +  //
                            kLaunch + "2001/05/12/ 09:03:10] /a.txt\r\n");
}

TEST_F(SwitchSteps, AListEmptiedDuringTheWalkEndsIt) {
  // The user may edit the list while a missing-file message is up.
  active_lst.set_lines({"/gone.txt", "/b.txt"});
  shell.set_result("/gone.txt", OpenResult::not_found);
  shell.on_open([this](const FakeShell::Call&) { active_lst.clear(); });
  launch_all(parts, nullptr);
  EXPECT_EQ(shell.calls().size(), 1u);
}

}  // namespace
}  // namespace zorvek
