#include "switch/launch_entry.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_prompts.h"
#include "platform/fake/fake_shell.h"

namespace zorvek {
namespace {

using Call = FakeShell::Call;

TEST(LaunchEntry, OpensInTheEntrysFolder) {
  FakeShell shell;
  FakePrompts prompts;
  launch_entry(shell, prompts, "/home/u/my docs/a b.txt");
  launch_entry(shell, prompts, "notes.txt");
  EXPECT_EQ(shell.calls(),
            (std::vector<Call>{{"/home/u/my docs/a b.txt", "/home/u/my docs"}, {"notes.txt", ""}}));
  EXPECT_TRUE(prompts.shown().empty());
}

TEST(LaunchEntry, OnlyAMissingFileIsReported) {
  FakeShell shell;
  FakePrompts prompts;
  shell.set_result("/gone/x.txt", OpenResult::not_found);
  shell.set_result("/no/app.xyz", OpenResult::failed);

  launch_entry(shell, prompts, "/no/app.xyz");
  EXPECT_TRUE(prompts.shown().empty());

  launch_entry(shell, prompts, "/gone/x.txt");
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].kind, FakePrompts::Kind::message);
  // "ファイルが見あたらないんだけど．．．", a line break, then the entry on the second line.
  EXPECT_EQ(prompts.shown()[0].text,
            "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xaa\x8c\xa9\x82\xa0\x82\xbd\x82\xe7\x82\xc8"
            "\x82\xa2\x82\xf1\x82\xbe\x82\xaf\x82\xc7\x81\x44\x81\x44\x81\x44\n/gone/x.txt");
}

}  // namespace
}  // namespace zorvek
