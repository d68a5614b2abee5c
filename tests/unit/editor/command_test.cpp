#include "editor/command.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_prompts.h"
#include "store/store_error.h"

namespace zorvek {
namespace {

TEST(Command, AnErrorEndsTheCommandAndIsShownWithAFullStop) {
  FakePrompts prompts;
  bool after = false;
  EXPECT_FALSE(run_command(prompts, [&] {
    throw StoreError("AnsiString too large to save in INI file");
    after = true;
  }));
  EXPECT_FALSE(after);
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].kind, FakePrompts::Kind::error);
  EXPECT_EQ(prompts.shown()[0].text, "AnsiString too large to save in INI file.");

  EXPECT_TRUE(run_command(prompts, [] {}));
  EXPECT_EQ(prompts.shown().size(), 1u);
}

TEST(Command, AFullStopIsNotDoubled) {
  EXPECT_EQ(error_box_text("done."), "done.");
  EXPECT_EQ(error_box_text(""), ".");
}

}  // namespace
}  // namespace zorvek
