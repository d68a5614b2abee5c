#include "switch/working_directory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorvek {
namespace {

// Double-byte characters whose second byte is 0x5C, the byte of a backslash.
const std::string kHyou = "\x95\x5C";  // 表
const std::string kSo = "\x83\x5C";    // ソ
const std::string kNou = "\x94\x5C";   // 能

struct Case {
  std::string entry, expected;
};

void check(const std::vector<Case>& cases, const PathSyntax& syntax) {
  for (const auto& c : cases) {
    EXPECT_EQ(working_directory(c.entry, syntax), c.expected) << c.entry;
  }
}

TEST(WorkingDirectory, PosixPaths) {
  check(
      {
          {"/a/b/c.txt", "/a/b"},
          {"/c.txt", "/"},  // the root keeps its slash
          {"c.txt", ""},
          {"./Readme.txt", "."},
          {"sub/c.txt", "sub"},
          {"dir/", "dir"},
          {"/", "/"},
          {"//c.txt", "//"},  // a slash right after another is kept
          {"/a//c.txt", "/a//"},
          {"/my docs/a b.txt", "/my docs"},
          {"C:\\x\\y.txt", ""},  // backslash and colon mean nothing here
          {"/" + kHyou + "/" + kSo + ".txt", "/" + kHyou},
          {"/" + kSo + kNou + "/x", "/" + kSo + kNou},
      },
      posix_paths);
}

TEST(WorkingDirectory, WindowsPathsKeepDoubleByteCharactersWhole) {
  check(
      {
          {"C:\\a\\b\\c.txt", "C:\\a\\b"},
          {"C:\\c.txt", "C:\\"},  // a drive's root keeps its backslash
          {"C:c.txt", "C:"},      // drive-relative
          {"c.txt", ""},
          {".\\Readme.txt", "."},
          {"\\c.txt", "\\"},
          {"\\\\server\\share\\c.txt", "\\\\server\\share"},
          {"\\\\c.txt", "\\\\"},
          {"C:\\a/b.txt", "C:\\"},  // a slash is no separator there
          // 0x5C inside a character is no separator, neither as the cut nor just before it.
          {"C:\\" + kHyou + "\\" + kSo + ".txt", "C:\\" + kHyou},
          {"C:\\" + kSo, "C:\\"},
          {kHyou, ""},
          {"D:\\" + kNou + kSo + "\\" + kHyou + "\\x.exe", "D:\\" + kNou + kSo + "\\" + kHyou},
          {"a:" + kSo + "b", "a:"},
      },
      windows_paths);
}

}  // namespace
}  // namespace zorvek
