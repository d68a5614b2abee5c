#include "text/cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/codec.h"

namespace zorvek {
namespace {

// "ソ" and "表" end in 0x5C, the byte of a backslash.
const std::string kSo = "\x83\x5C";
const std::string kHyou = "\x95\x5C";

TEST(Cp932, FindSkipsOccurrencesInsideDoubleByteCharacters) {
  struct Case {
    std::string haystack, needle;
    std::size_t expected;
  };
  const std::vector<Case> cases = {
      {"abc", "b", 1},
      {"abc", "", std::string::npos},
      {kSo + "\\", "\\", 2},           // the 0x5C of "ソ" is passed over
      {kSo, "\\", std::string::npos},  // and is the only one
      {kHyou + "x" + kHyou, "\\x", std::string::npos},
      {"a" + kSo + "b", kSo + "b", 1},
      {"\x82\xa0\x82\xa0", "\xa0\x82", std::string::npos},  // across two characters
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cp932::find(c.haystack, c.needle), c.expected) << c.haystack << " / " << c.needle;
  }
}

TEST(Cp932, CutNeverSplitsACharacter) {
  const std::string text = "ab" + kSo + "c";
  EXPECT_EQ(cp932::cut(text, 10), text);
  EXPECT_EQ(cp932::cut(text, 4), "ab" + kSo);
  EXPECT_EQ(cp932::cut(text, 3), "ab");
  EXPECT_EQ(cp932::cut(text, 0), "");
  // A lead byte at the very end stands alone and may be kept.
  EXPECT_EQ(cp932::cut("a\x83", 2), "a\x83");
}

TEST(Cp932, CaseIsIgnoredForLettersOnly) {
  struct Case {
    const char* a;
    const char* b;
    bool equal;
  };
  const std::vector<Case> cases = {
      {"Notepad", "NOTEPAD", true}, {"ａｂｃ", "ＡＢＣ", true},  // full-width Latin
      {"αβω", "ΑΒΩ", true},                                      // Greek
      {"жэя", "ЖЭЯ", true},      // Cyrillic, both sides of the gap at 0x847F
      {"abc", "ＡＢＣ", false},  // widths stay distinct
      {"あ", "ア", false},       // and so do the two kana sets
      {"ｱ", "ア", false},           {"a", "ab", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cp932::equal_ignore_case(jp(c.a), jp(c.b)), c.equal) << c.a << " / " << c.b;
  }
  // The second byte of "ア" (0x83 0x41) is an ASCII "A": it must not be folded.
  EXPECT_FALSE(cp932::equal_ignore_case("\x83\x41", "\x83\x61"));
}

TEST(Cp932, OrderIgnoresCaseAndIsTotal) {
  std::vector<std::string> lines = {"beta", "Alpha", "alpha", "_x", "gamma", jp("あ"), "Beta"};
  std::stable_sort(lines.begin(), lines.end(), cp932::less_ignore_case);
  const std::vector<std::string> expected = {"_x",   "Alpha", "alpha", "Beta",
                                             "beta", "gamma", jp("あ")};
  EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace zorvek
