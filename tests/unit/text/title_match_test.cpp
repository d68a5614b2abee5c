#include "text/title_match.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codec.h"

namespace zorvek {
namespace {

TEST(TitleMatch, Table) {
  // Bytes 250-253 of this title are "wxyz": the last four that are compared.
  const std::string edge = std::string(250, 'a') + "wxyz!";
  struct Case {
    std::string text, title;
    bool matches;
  };
  const std::vector<Case> cases = {
      {"Notepad", "Notepad - memo.txt", true},   // beginning
      {"d - m", "Notepad - memo.txt", true},     // middle
      {"memo.txt", "Notepad - memo.txt", true},  // end
      {"Notepad - memo.txt", "Notepad - memo.txt", true},
      {"notepad", "Notepad - memo.txt", false},  // letter case counts
      {"Notepad - memo.txt!", "Notepad - memo.txt", false},
      {jp("ＡＢＣ"), "ABC", false},  // full-width and half-width differ
      {jp("ｱｲｳ"), jp("アイウ"), false},
      {jp("アイウ"), jp("メモ帳 - アイウ"), true},
      // "ソ" is 0x83 0x5C: its second byte is a backslash that does not count...
      {"\\", jp("ソフト"), false},
      {"\\x", jp("表") + "x", false},
      // ...but a real backslash after it does.
      {"\\", jp("ソ") + "\\", true},
      {jp("ソ"), "a" + jp("ソ"), true},
      // Only the first 254 bytes of a title are compared.
      {"wxyz", edge, true},
      {"xyz!", edge, false},
      {"!", edge, false},
      {std::string(254, 'a'), std::string(300, 'a'), true},
      {std::string(255, 'a'), std::string(300, 'a'), false},
      {jp("ソ"), std::string(253, 'a') + jp("ソ"), false},  // its second byte is byte 255
      {"", "anything", false},
      {"a", "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(title_matches(c.text, c.title), c.matches)
        << codec::to_utf8(c.text) << " in " << codec::to_utf8(c.title);
  }
}

}  // namespace
}  // namespace zorvek
