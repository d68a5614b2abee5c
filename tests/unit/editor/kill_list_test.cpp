#include "editor/kill_list.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/codec.h"
#include "platform/fake/fake_list_box.h"
#include "platform/fake/fake_name_dialog.h"
#include "platform/fake/fake_prompts.h"
#include "platform/fake/fake_selector.h"
#include "platform/fake/fake_window_system.h"
#include "support/editor_fixture.h"
#include "support/temp_dir.h"

namespace zorvek {
namespace {

using Lines = std::vector<std::string>;

void select(FakeListBox& list, const std::set<int>& lines) {
  for (const int i : lines) list.set_selected(i, true);
}

std::set<int> selection(const FakeListBox& list) {
  std::set<int> out;
  for (int i = 0; i < list.count(); ++i) {
    if (list.selected(i)) out.insert(i);
  }
  return out;
}

class KillListTest : public testing::EditorTest {
 protected:
  FakeListBox handle_lst{true};
  FakeNameDialog get_name_dlg;
  FakeWindowSystem windows;
};

TEST_F(KillListTest, SelectedTitlesAreAppendedOnceAndMarkChangedEvenWhenKnown) {
  struct Case {
    std::set<int> selected;
    Lines kill;
    int current;
    bool changed;
  };
  const std::vector<Case> cases = {
      {{0, 1, 2}, {"MAIL", "Editor", "Terminal"}, 2, true},
      {{1}, {"MAIL"}, 0, true},  // "mail" is there in capitals
      {{}, {"MAIL"}, 0, false},
  };
  for (const auto& c : cases) {
    handle_lst.set_lines({"Editor", "mail", "Terminal", "xterm"});
    kill_lst.set_lines({"MAIL"});
    select(handle_lst, c.selected);
    edited.clear_changed();

    kill_sbtnClick(handle_lst, kill_lst, edited);

    EXPECT_EQ(kill_lst.lines(), c.kill);
    EXPECT_EQ(kill_lst.current(), c.current);
    EXPECT_EQ(edited.changed_flg(), c.changed);
    EXPECT_EQ(selection(handle_lst), c.selected);
  }
}

TEST_F(KillListTest, OnlyOpenWindowTitlesMayBeDroppedOnTheKillList) {
  EXPECT_TRUE(kill_lstDragOver(ListId::handle_lst));
  EXPECT_FALSE(kill_lstDragOver(ListId::kill_lst));
  EXPECT_FALSE(kill_lstDragOver(ListId::active_lst));
  EXPECT_FALSE(kill_lstDragOver(ListId::other));
}

TEST_F(KillListTest, DeleteRemovesTheSelectedEntriesAndAlwaysMarksChanged) {
  const std::vector<std::pair<std::set<int>, Lines>> cases = {
      {{}, {"a", "b", "c"}},
      {{0, 1}, {"c"}},
      {{0, 2}, {"b"}},
      {{0, 1, 2}, {}},
  };
  for (const auto& [selected, left] : cases) {
    kill_lst.set_lines({"a", "b", "c"});
    select(kill_lst, selected);
    edited.clear_changed();
    delete_kill_popClick(kill_lst, edited);
    EXPECT_EQ(kill_lst.lines(), left);
    EXPECT_TRUE(edited.changed_flg());
  }
}

TEST_F(KillListTest, SortOrdersOnceWithoutMarkingChanged) {
  kill_lst.set_lines({"b", "C", "a"});
  select(kill_lst, {1});
  sort_kill_popClick(kill_lst);
  EXPECT_EQ(kill_lst.lines(), (Lines{"a", "b", "C"}));
  EXPECT_TRUE(selection(kill_lst).empty());
  EXPECT_FALSE(edited.changed_flg());
  add_unique_item(kill_lst, "0");
  EXPECT_EQ(kill_lst.lines().back(), "0");
}

TEST_F(KillListTest, EditReplacesTheFirstSelectedEntry) {
  kill_lst.set_lines({"a", "b", "c", "d"});
  select(kill_lst, {1, 3});
  get_name_dlg.ok("c");  // the same text as another entry

  kill_lstDblClick(kill_lst, get_name_dlg, prompts, edited);

  const std::vector<FakeNameDialog::Shown> shown = {
      {jp("起動プロセス編集"), jp("プロセス名"), "b"}};
  EXPECT_EQ(get_name_dlg.shown(), shown);
  EXPECT_EQ(kill_lst.lines(), (Lines{"a", "c", "c", "d"}));
  EXPECT_TRUE(edited.changed_flg());
}

TEST_F(KillListTest, EditMarksChangedOnOkOnly) {
  for (const bool ok : {true, false}) {
    kill_lst.set_lines({" a "});
    select(kill_lst, {0});
    edited.clear_changed();
    if (ok) {
      get_name_dlg.ok();  // unchanged text
    } else {
      get_name_dlg.cancel("typed");
    }
    kill_lstDblClick(kill_lst, get_name_dlg, prompts, edited);
    EXPECT_EQ(kill_lst.lines(), Lines{" a "});
    EXPECT_EQ(edited.changed_flg(), ok);
  }
}

TEST_F(KillListTest, EditWithoutAUsableSelectionComplains) {
  for (const std::set<int>& selected : {std::set<int>{}, std::set<int>{0, 1}}) {
    kill_lst.set_lines({"", "b"});
    select(kill_lst, selected);
    prompts.forget();
    kill_lstDblClick(kill_lst, get_name_dlg, prompts, edited);
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_EQ(prompts.shown()[0].kind, FakePrompts::Kind::message);
    EXPECT_EQ(prompts.shown()[0].text,
              jp("編集する終了プロセス一覧の項目をクリックして選択して下さい。"));
    EXPECT_TRUE(get_name_dlg.shown().empty());
    EXPECT_EQ(kill_lst.lines(), (Lines{"", "b"}));
    EXPECT_FALSE(edited.changed_flg());
  }
}

TEST_F(KillListTest, CloseNowClosesOneWindowPerSelectedEntryInListOrder) {
  windows.add(1, "Mail");
  windows.add(2, "Editor - a");
  windows.add(3, "Editor - b");
  kill_lst.set_lines({"Editor", "Mail", "", "Editor"});
  select(kill_lst, {0, 2, 3});

  kill_process_popClick(kill_lst, windows);

  EXPECT_EQ(windows.close_requests(), (std::vector<WindowId>{2, 3}));
  EXPECT_EQ(windows.enumerations(), 1);
  EXPECT_FALSE(edited.changed_flg());
}

TEST_F(KillListTest, CloseNowFromTheOpenWindowListTakesOnlyTheTopmostSelectedTitle) {
  windows.add(1, "Mail");
  windows.add(2, "Editor");
  windows.add(3, "Terminal");
  handle_lst.set_lines({"Editor", "Mail", "Terminal"});

  kill_kidou_actExecute(handle_lst, windows);
  EXPECT_TRUE(windows.close_requests().empty());

  select(handle_lst, {0, 1, 2});
  kill_kidou_actExecute(handle_lst, windows);
  EXPECT_EQ(windows.close_requests(), std::vector<WindowId>{2});
  EXPECT_EQ(handle_lst.lines(), (Lines{"Editor", "Mail", "Terminal"}));
}

}  // namespace
}  // namespace zorvek
