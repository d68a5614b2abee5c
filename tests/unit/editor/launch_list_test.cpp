#include "editor/launch_list.h"

#include <gtest/gtest.h>

#include "platform/codec.h"
#include "platform/fake/fake_list_box.h"
#include "platform/fake/fake_name_dialog.h"
#include "platform/fake/fake_prompts.h"
#include "platform/fake/fake_selector.h"
#include "platform/fake/fake_shell.h"
#include "support/editor_fixture.h"
#include "support/temp_dir.h"

namespace zorvek {
namespace {

using Lines = std::vector<std::string>;

class LaunchListTest : public testing::EditorTest {
 protected:
  void drop(const Lines& utf8_paths) { drop_files(utf8_paths, active_lst, edited, prompts); }

  FakeNameDialog get_name_dlg;
  FakeShell shell;
};

TEST_F(LaunchListTest, DroppedFilesAreAppendedOnceInTheOrderGiven) {
  struct Case {
    Lines dropped;
    Lines lines;
    bool changed;
  };
  const std::vector<Case> cases = {
      {{"/tmp/b", "/HOME/U/DOC.TXT", "/tmp/a"}, {"/home/u/Doc.txt", "/tmp/b", "/tmp/a"}, true},
      {{"/home/u/doc.txt"}, {"/home/u/Doc.txt"}, true},
      {{"", ""}, {"/home/u/Doc.txt"}, false},
      {{"/home/u", ""}, {"/home/u/Doc.txt", "/home/u"}, true},  // a folder
  };
  for (const auto& c : cases) {
    active_lst.set_lines({"/home/u/Doc.txt"});
    edited.clear_changed();
    drop(c.dropped);
    EXPECT_EQ(active_lst.lines(), c.lines);
    EXPECT_EQ(active_lst.current(), active_lst.count() - 1);
    EXPECT_EQ(edited.changed_flg(), c.changed);
  }
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(LaunchListTest, ALongNameIsCutTo254BytesWithoutSplittingACharacter) {
  std::string kana;
  for (int i = 0; i < 200; ++i) kana += "あ";
  drop({"/" + std::string(300, 'x'), "/" + kana});
  ASSERT_EQ(active_lst.count(), 2);
  EXPECT_EQ(active_lst.line(0), "/" + std::string(253, 'x'));
  EXPECT_EQ(active_lst.line(1).size(), 253u);  // "/" and 126 characters of two bytes
  EXPECT_EQ(active_lst.line(1), jp("/" + kana).substr(0, 253));
}

TEST_F(LaunchListTest, ANameThatCannotBeHeldIsRefusedAndNamed) {
  drop({"/tmp/한.txt", "/tmp/a.txt", "/tmp/ö€.txt", "/tmp/b😀"});
  EXPECT_EQ(active_lst.lines(), (Lines{"/tmp/a.txt"}));
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].kind, FakePrompts::Kind::message);
  EXPECT_EQ(prompts.shown()[0].text,
            jp("次のファイルは、名前に扱えない文字が含まれているため、起動一覧に登録できません。\n"
               "/tmp/?.txt\n/tmp/??.txt\n/tmp/b?"));

  edited.clear_changed();
  drop({"/tmp/한.txt"});
  EXPECT_FALSE(edited.changed_flg());
}

TEST_F(LaunchListTest, LaunchNowOpensTheSelectedEntriesOneAfterAnother) {
  active_lst.set_lines({"/missing.txt", "/not-selected", "", "/home/b.txt"});
  for (const int i : {0, 2, 3}) active_lst.set_selected(i, true);
  shell.set_result("/missing.txt", OpenResult::not_found);
  std::vector<std::size_t> messages_before;
  shell.on_open([&](const FakeShell::Call&) { messages_before.push_back(prompts.shown().size()); });

  action_active_actExecute(active_lst, shell, prompts);

  const std::vector<FakeShell::Call> calls = {{"/missing.txt", "/"}, {"/home/b.txt", "/home"}};
  EXPECT_EQ(shell.calls(), calls);
  EXPECT_EQ(messages_before, (std::vector<std::size_t>{0, 1}));
  EXPECT_EQ(prompts.shown().size(), 1u);
  EXPECT_FALSE(edited.changed_flg());
}

TEST_F(LaunchListTest, SortOrdersOnceWithoutMarkingChanged) {
  active_lst.set_lines({"/c", "/a", "/B"});
  sort_active_actExecute(active_lst);
  EXPECT_EQ(active_lst.lines(), (Lines{"/a", "/B", "/c"}));
  EXPECT_FALSE(edited.changed_flg());
  drop({"/0"});
  EXPECT_EQ(active_lst.lines().back(), "/0");
}

TEST_F(LaunchListTest, EditReplacesTheFirstSelectedEntryOrComplains) {
  active_lst.set_lines({"/a", "/b", "/c", "/d"});
  edit_active_actExecute(active_lst, get_name_dlg, prompts, edited);
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].text, jp("編集する起動一覧の項目をクリックして選択して下さい。"));
  EXPECT_TRUE(get_name_dlg.shown().empty());
  EXPECT_FALSE(edited.changed_flg());

  active_lst.set_selected(1, true);
  active_lst.set_selected(3, true);
  get_name_dlg.ok("/x");
  edit_active_actExecute(active_lst, get_name_dlg, prompts, edited);
  EXPECT_EQ(get_name_dlg.shown().back().text, "/b");
  EXPECT_EQ(active_lst.lines(), (Lines{"/a", "/x", "/c", "/d"}));
  EXPECT_TRUE(edited.changed_flg());
}

TEST_F(LaunchListTest, DeleteRemovesTheSelectedEntriesAndAlwaysMarksChanged) {
  active_lst.set_lines({"/a", "/b", "/c", "/d"});
  delete_active_actExecute(active_lst, edited);
  EXPECT_EQ(active_lst.count(), 4);
  EXPECT_TRUE(edited.changed_flg());

  active_lst.set_selected(1, true);
  active_lst.set_selected(2, true);
  delete_active_actExecute(active_lst, edited);
  EXPECT_EQ(active_lst.lines(), (Lines{"/a", "/d"}));
}

}  // namespace
}  // namespace zorvek
