#include "store/edited_environment.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "editor/command.h"
#include "platform/codec.h"
#include "platform/fake/fake_list_box.h"
#include "platform/fake/fake_prompts.h"
#include "platform/fake/fake_selector.h"
#include "store/environment_store.h"
#include "store/store_error.h"
#include "support/editor_fixture.h"
#include "support/temp_dir.h"

namespace zorvek {
namespace {

using Lines = std::vector<std::string>;

class EditedEnvironmentTest : public testing::EditorTest {
 protected:
  EditedEnvironmentTest() {
    save_environment(ini, "A", {{"a-kill"}, {"a-exe1", "a-exe2", "a-exe3"}});
    save_environment(ini, "B", {{"b-kill"}, {"b-exe"}});
    selector.append("A");
    selector.append("B");
    selector.set_current_index(0);
    edited.load_kankyou();
  }

  // The user picks entry i in the selector.
  void choose(int i) {
    selector.set_current_index(i);
    edited.kankyou_cmbChange();
  }
};

TEST_F(EditedEnvironmentTest, LoadFillsTheListsAndBindsTheName) {
  EXPECT_EQ(edited.kankyou_name(), "A");
  EXPECT_EQ(kill_lst.lines(), Lines{"a-kill"});
  EXPECT_EQ(active_lst.lines(), (Lines{"a-exe1", "a-exe2", "a-exe3"}));
  EXPECT_TRUE(edited.stored_flg());
  EXPECT_FALSE(edited.changed_flg());
}

TEST_F(EditedEnvironmentTest, ChoosingAnotherWithoutChangesAsksNothing) {
  choose(1);
  EXPECT_TRUE(prompts.shown().empty());
  EXPECT_EQ(edited.kankyou_name(), "B");
  EXPECT_EQ(active_lst.lines(), Lines{"b-exe"});
}

TEST_F(EditedEnvironmentTest, TheSaveQuestionDecidesWhatHappensToChanges) {
  struct Case {
    Answer answer;
    Lines stored_a_exe;  // what A holds afterwards
    std::string name;    // the edited environment afterwards
    Lines shown_exe;
    bool changed;
  };
  const std::vector<Case> cases = {
      {Answer::yes, {"a-exe1"}, "B", {"b-exe"}, false},
      {Answer::no, {"a-exe1", "a-exe2", "a-exe3"}, "B", {"b-exe"}, false},
      {Answer::cancel, {"a-exe1", "a-exe2", "a-exe3"}, "A", {"a-exe1"}, true},
  };
  for (const auto& c : cases) {
    save_environment(ini, "A", {{"a-kill"}, {"a-exe1", "a-exe2", "a-exe3"}});
    choose(0);
    active_lst.remove(2);
    active_lst.remove(1);
    edited.set_changed();
    prompts.forget();
    prompts.answer(c.answer);

    choose(1);

    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_EQ(prompts.shown()[0].text, "A" + jp(" は、変更されています。保存しますか？"));
    EXPECT_EQ(load_environment(ini, "A").exe, c.stored_a_exe);
    EXPECT_EQ(edited.kankyou_name(), c.name);
    EXPECT_EQ(active_lst.lines(), c.shown_exe);
    EXPECT_EQ(edited.changed_flg(), c.changed);
    EXPECT_EQ(selector.current_index(), 1);  // the selector shows the choice in every case
  }
}

TEST_F(EditedEnvironmentTest, AfterCancelASaveStillGoesToTheEnvironmentBeingEdited) {
  active_lst.remove(0);
  edited.set_changed();
  prompts.answer(Answer::cancel);
  choose(1);
  edited.save_kankyou();
  EXPECT_EQ(load_environment(ini, "A").exe, (Lines{"a-exe2", "a-exe3"}));
  EXPECT_EQ(load_environment(ini, "B").exe, Lines{"b-exe"});
  EXPECT_FALSE(edited.changed_flg());
}

TEST_F(EditedEnvironmentTest, LoadWithoutCurrentEntryOnlyEmptiesTheLists) {
  selector.set_current_index(-1);
  edited.load_kankyou();
  EXPECT_EQ(kill_lst.count(), 0);
  EXPECT_EQ(active_lst.count(), 0);
  EXPECT_EQ(edited.kankyou_name(), "A");
  EXPECT_TRUE(edited.stored_flg());
}

TEST_F(EditedEnvironmentTest, SortingAloneLeavesNothingToAsk) {
  active_lst.sort_once();
  choose(1);
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(EditedEnvironmentTest, ANeverStoredEnvironmentIsSavedUnderANewName) {
  int asked = 0;
  edited.set_save_as([&] {
    ++asked;
    return false;
  });
  edited.unbind("new");
  edited.set_changed();
  edited.save_kankyou();
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(edited.changed_flg());
}

TEST_F(EditedEnvironmentTest, ANeverStoredEnvironmentIsNamedBeforeTheSelectorMoves) {
  std::string offered = "not asked";
  edited.set_save_as([&] {
    offered = selector.text();
    edited.bind("X");
    edited.save_kankyou();
    selector.append("X");
    return true;
  });
  selector.set_current_index(-1);
  edited.unbind(jp("環境2"));
  edited.set_changed();
  prompts.answer(Answer::yes);

  choose(1);

  EXPECT_EQ(offered, "");  // not "B", the environment being switched to
  EXPECT_EQ(load_environment(ini, "X").exe, (Lines{"a-exe1", "a-exe2", "a-exe3"}));
  EXPECT_EQ(load_environment(ini, "B").exe, Lines{"b-exe"});
  EXPECT_EQ(edited.kankyou_name(), "B");
  EXPECT_EQ(selector.current_index(), 1);
  EXPECT_EQ(prompts.shown().size(), 1u);
}

TEST_F(EditedEnvironmentTest, AFailedSaveKeepsTheChangesAndStopsTheLoad) {
  active_lst.remove(0);
  edited.set_changed();
  ASSERT_EQ(chmod((dir / "joutai.INI").c_str(), 0444), 0);
  const std::string before = testing::read_file(dir / "joutai.INI");
  prompts.answer(Answer::yes);

  selector.set_current_index(1);
  EXPECT_FALSE(run_command(prompts, [&] { edited.kankyou_cmbChange(); }));

  ASSERT_EQ(prompts.shown().size(), 2u);
  EXPECT_EQ(prompts.shown()[1].kind, FakePrompts::Kind::error);
  EXPECT_EQ(prompts.shown()[1].text,
            codec::to_cp932((dir / "joutai.INI").string()) + jp(" に書き込めません."));
  EXPECT_TRUE(edited.changed_flg());
  EXPECT_EQ(edited.kankyou_name(), "A");
  EXPECT_EQ(active_lst.lines(), (Lines{"a-exe2", "a-exe3"}));
  EXPECT_EQ(testing::read_file(dir / "joutai.INI"), before);
}

TEST_F(EditedEnvironmentTest, AnEntryTooLongToStoreChangesNothingInTheFile) {
  active_lst.insert(1, std::string(kMaxEntryBytes + 1, 'x'));
  edited.set_changed();
  const std::string before = testing::read_file(dir / "joutai.INI");
  EXPECT_THROW(edited.save_kankyou(), StoreError);
  EXPECT_EQ(testing::read_file(dir / "joutai.INI"), before);
  EXPECT_TRUE(edited.changed_flg());
}

}  // namespace
}  // namespace zorvek
