#include "platform/codec.h"

#include <gtest/gtest.h>

namespace zorvek {
namespace {

TEST(Codec, RoundTripsJapaneseText) {
  const std::string cp932 = codec::to_cp932("例 ソ表～");
  EXPECT_EQ(cp932.substr(0, 2), "\x97\xE1");
  EXPECT_EQ(codec::to_utf8(cp932), "例 ソ表～");
}

TEST(Codec, CharactersCp932CannotHoldBecomeQuestionMarks) {
  EXPECT_EQ(codec::to_cp932("a😀b€c"), "a?b?c");
  EXPECT_EQ(codec::to_cp932("bad \xFF byte"), "bad ? byte");
  EXPECT_FALSE(codec::to_cp932_exact("a😀").has_value());
  EXPECT_EQ(codec::to_cp932_exact("ok 例").value(), "ok \x97\xE1");
}

TEST(Codec, InvalidCp932ShowsAsReplacementCharacter) {
  EXPECT_EQ(codec::to_utf8("a\x85\x40z"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(codec::to_utf8("end\x83"), "end\xEF\xBF\xBD");
}

}  // namespace
}  // namespace zorvek
