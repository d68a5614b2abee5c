// The settings file survives a writer killed at any moment, and two running copies that save at
// the same time lose nothing. Both run the real store in separate processes (store_helper).
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "store/environment_store.h"
#include "support/temp_dir.h"
#include "versions.h"

extern char** environ;

namespace zorvek {
namespace {

using testing::read_file;
using testing::write_file;

pid_t start_helper(std::vector<std::string> args) {
  args.insert(args.begin(), ZORVEK_STORE_HELPER);
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

int wait_for(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

TEST(StoreReliabilityTest, AWriterKilledAtAnyMomentLeavesOneWholeVersion) {
  testing::TempDir dir;
  const std::filesystem::path path = dir / "joutai.INI";
  // Other sections around the one being saved, in layouts the store does not write itself.
  write_file(path, "; settings\r\n[Zorveksystem]\r\nform_width=700\r\n[B]\nkill0=b\n\n");
  IniFile ini(path);
  save_environment(ini, "A", reliability::flip_version(1));
  ini.write_string("C", "exe0", "c");
  // The two files a finished save can leave; saving again over either gives the other.
  save_environment(ini, "A", reliability::flip_version(2));
  const std::string version2 = read_file(path);
  save_environment(ini, "A", reliability::flip_version(1));
  const std::string version1 = read_file(path);
  save_environment(ini, "A", reliability::flip_version(2));
  ASSERT_EQ(read_file(path), version2);
  save_environment(ini, "A", reliability::flip_version(1));
  ASSERT_EQ(read_file(path), version1);

  // How long the helper takes to start and make its first save, and then each further save,
  // on this machine and in this build.
  using Clock = std::chrono::steady_clock;
  const auto wait_for_file = [&](const std::string& bytes, Clock::time_point since) {
    while (read_file(path) != bytes) {
      if (Clock::now() - since > std::chrono::seconds(20)) return false;
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return true;
  };
  const Clock::time_point start = Clock::now();
  const pid_t calibration = start_helper({"flip", path.string(), "A"});
  ASSERT_GT(calibration, 0);
  const bool saved_once = wait_for_file(version2, start);
  const Clock::time_point first_save = Clock::now();
  const bool saved_twice = saved_once && wait_for_file(version1, start);
  const auto startup = std::chrono::duration_cast<std::chrono::microseconds>(first_save - start);
  const auto per_save =
      std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - first_save);
  ::kill(calibration, SIGKILL);
  wait_for(calibration);
  ASSERT_TRUE(saved_twice) << "the helper did not save";
  if (read_file(path) != version1) save_environment(ini, "A", reliability::flip_version(1));

  std::random_device seed_source;
  const unsigned seed = seed_source();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  // From before the helper has even started to after it has saved a few times.
  std::uniform_int_distribution<long> delay_us(0, (startup + 4 * per_save).count());
  int seen[3] = {0, 0, 0};
  for (int kill = 0; kill < 250; ++kill) {
    const pid_t pid = start_helper({"flip", path.string(), "A"});
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    const int status = wait_for(pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the helper ended by itself: " << status;

    const std::string bytes = read_file(path);
    const EnvironmentLists a = load_environment(ini, "A");
    const int version = a.kill == reliability::flip_version(1).kill   ? 1
                        : a.kill == reliability::flip_version(2).kill ? 2
                                                                      : 0;
    ASSERT_NE(version, 0) << "kill " << kill << ": a list that is neither version";
    ASSERT_EQ(a.exe, reliability::flip_version(version).exe) << "kill " << kill;
    ASSERT_EQ(bytes, version == 1 ? version1 : version2) << "kill " << kill;
    ++seen[version];
  }
  // Both versions were met, so kills did land while the helper was saving.
  EXPECT_GT(seen[1], 10);
  EXPECT_GT(seen[2], 10);
  EXPECT_EQ(load_environment(ini, "B").kill, std::vector<std::string>{"b"});
  EXPECT_EQ(ini.read_string("Zorveksystem", "form_width", ""), "700");

  // A killed writer leaves at most its temporary file, which the next save replaces.
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "joutai.INI" || name == "joutai.INI.lock" || name == "joutai.INI.tmp")
        << name;
  }
}

TEST(StoreReliabilityTest, TwoCopiesSavingAtOnceLoseNothing) {
  testing::TempDir dir;
  const std::filesystem::path path = dir / "joutai.INI";
  write_file(path, "[Zorveksystem]\r\nform_width=700\r\n");
  const std::string names[] = {"first", "second"};
  pid_t pids[2];
  for (int i = 0; i < 2; ++i) {
    pids[i] = start_helper({"count", path.string(), names[i], "2000", (dir / names[i]).string()});
  }
  // Both are waited for before anything is judged, so that none outlives the test folder.
  int statuses[2] = {-1, -1};
  for (int i = 0; i < 2; ++i) {
    if (pids[i] > 0) statuses[i] = wait_for(pids[i]);
  }
  for (const int status : statuses) {
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }

  const IniFile ini(path);
  const IniDocument doc = ini.read();
  for (const auto& name : names) {
    SCOPED_TRACE(name);
    const int last = std::stoi(read_file(dir / name));
    // Enough rounds for the two to have met many times.
    EXPECT_GT(last, 20);
    const EnvironmentLists expected = reliability::counted_version(name, last);
    EXPECT_EQ(read_list(doc, name, kKillPrefix), expected.kill);
    EXPECT_EQ(read_list(doc, name, kExePrefix), expected.exe);
    int missing = 0;
    for (int n = 0; n <= last; ++n) {
      if (doc.value(reliability::round_section(name), "n" + std::to_string(n)) !=
          std::to_string(n)) {
        ++missing;
      }
    }
    EXPECT_EQ(missing, 0) << "rounds lost out of " << last + 1;
  }
  EXPECT_EQ(doc.value("Zorveksystem", "form_width"), "700");
  std::vector<std::string> sections = doc.section_names();
  std::sort(sections.begin() + 1, sections.end());
  EXPECT_EQ(sections, (std::vector<std::string>{"Zorveksystem", "first", "rounds of first",
                                                "rounds of second", "second"}));
}

}  // namespace
}  // namespace zorvek
