#include "switch/activity_log.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_clock.h"
#include "support/temp_dir.h"

namespace zorvek {
namespace {

using testing::read_file;
using testing::TempDir;

const std::string kClose = "\x8f\x49\x97\xb9[";   // 終了[
const std::string kLaunch = "\x8b\x4e\x93\xae[";  // 起動[

TEST(ActivityLog, NamesAndStampsAreZeroPaddedWithASlashAfterTheDay) {
  struct Case {
    std::tm time;
    std::string file, stamp;
  };
  const std::vector<Case> cases = {
      {make_tm(2001, 5, 12, 9, 3, 7), "zorvek010512.log", "2001/05/12/ 09:03:07"},
      {make_tm(2024, 12, 31, 23, 59, 59), "zorvek241231.log", "2024/12/31/ 23:59:59"},
      {make_tm(2000, 1, 1, 0, 0, 0), "zorvek000101.log", "2000/01/01/ 00:00:00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(log_file_name(c.time), c.file);
    EXPECT_EQ(log_time_stamp(c.time), c.stamp);
  }
}

TEST(ActivityLog, AppendsCp932LinesEndingInCrLf) {
  TempDir dir;
  const std::tm day = make_tm(2001, 5, 12, 9, 3, 7);
  const std::string so = "\x83\x5C";  // ソ, whose second byte is a backslash
  testing::write_file(dir / "zorvek010512.log", "earlier\r\n");
  {
    auto log = ActivityLog::open(day, dir.path());
    ASSERT_TRUE(log);
    log->write_close("Notepad " + so, day);
    log->write_launch("/usr/bin/x y", make_tm(2001, 5, 12, 18, 0, 59));
  }
  EXPECT_EQ(read_file(dir / "zorvek010512.log"),
            "earlier\r\n" + kClose + "2001/05/12/ 09:03:07] Notepad " + so + "\r\n" + kLaunch +
                "2001/05/12/ 18:00:59] /usr/bin/x y\r\n");
}

TEST(ActivityLog, OpeningFailsWhereNoFileCanBeMade) {
  TempDir dir;
  const std::tm day = make_tm(2001, 5, 12, 9, 3, 7);
  std::filesystem::create_directory(dir / "zorvek010512.log");
  EXPECT_FALSE(ActivityLog::open(day, dir.path()));
  EXPECT_FALSE(ActivityLog::open(day, dir / "missing"));
}

}  // namespace
}  // namespace zorvek
