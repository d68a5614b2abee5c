#include "editor/environment_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/codec.h"
#include "platform/fake/fake_list_box.h"
#include "platform/fake/fake_name_dialog.h"
#include "platform/fake/fake_prompts.h"
#include "platform/fake/fake_selector.h"
#include "platform/fake/fake_tray_menu.h"
#include "store/environment_store.h"
#include "store/store_error.h"
#include "support/editor_fixture.h"
#include "support/temp_dir.h"
#include "switch/environment_switch.h"

namespace zorvek {
namespace {

using Lines = std::vector<std::string>;
using Shown = FakeNameDialog::Shown;

const std::string kDeleteQuestion = jp(" を削除します。\n本当に削除してよろしいですか？");

class EnvironmentCommandsTest : public testing::EditorTest {
 protected:
  EnvironmentCommandsTest() {
    edited.set_save_as([this] { return save_as_kankyou(parts); });
    save_environment(ini, "A", {{"a-kill"}, {"a-exe"}});
    save_environment(ini, "B", {{"b-kill"}, {"b-exe"}});
    selector.append("A");
    selector.append("B");
    load(0);
    make_kankyou_items(selector, tray_pop);
  }

  void load(int i) {
    selector.set_current_index(i);
    edited.load_kankyou();
  }

  Lines tray() const {
    Lines captions;
    for (const auto& item : tray_pop.environments()) captions.push_back(item.caption);
    return captions;
  }

  std::string file() const { return testing::read_file(dir / "joutai.INI"); }

  FakeNameDialog get_name_dlg;
  FakeTrayMenu tray_pop;
  EnvironmentParts parts{ini,        edited,   selector,     kill_lst,
                         active_lst, tray_pop, get_name_dlg, prompts};
};

TEST_F(EnvironmentCommandsTest, ANewEnvironmentLivesOnlyInTheEditorUntilItIsNamed) {
  active_lst.insert(1, "unsaved");
  edited.set_changed();
  const std::string before = file();

  make_kankyouClick(parts);

  EXPECT_EQ(kill_lst.count() + active_lst.count(), 0);
  EXPECT_EQ(edited.kankyou_name(), jp("環境2"));
  EXPECT_FALSE(edited.stored_flg());
  EXPECT_TRUE(edited.changed_flg());  // the dropped edits still count
  EXPECT_EQ(selector.current_index(), -1);
  EXPECT_EQ(selector.text(), "");
  EXPECT_EQ(tray(), (Lines{"A", "B"}));
  EXPECT_EQ(file(), before);
  EXPECT_TRUE(prompts.shown().empty());

  active_lst.insert(0, "new-exe");
  get_name_dlg.ok("C");
  save_kankyou_actExecute(parts);

  EXPECT_EQ(get_name_dlg.shown(), (std::vector<Shown>{{jp("名前を付けて保存"), jp("保存名"), ""}}));
  EXPECT_EQ(load_environment(ini, "C").exe, Lines{"new-exe"});
  EXPECT_EQ(selector.lines(), (Lines{"A", "B", "C"}));
  EXPECT_EQ(selector.current_index(), 2);
  EXPECT_EQ(tray(), (Lines{"A", "B", "C"}));
  EXPECT_EQ(edited.kankyou_name(), "C");
  EXPECT_TRUE(edited.stored_flg());
  EXPECT_FALSE(edited.changed_flg());
}

TEST_F(EnvironmentCommandsTest, CancellingTheNameChangesNothing) {
  for (const auto command : {&saveas_kankyou_actExecute, &change_kankyouname_actExecute}) {
    active_lst.insert(1, "unsaved");
    edited.set_changed();
    const std::string before = file();
    get_name_dlg.cancel("typed");

    command(parts);

    EXPECT_EQ(get_name_dlg.shown().back().text, "A");  // offered the selector's text
    EXPECT_EQ(file(), before);
    EXPECT_EQ(edited.kankyou_name(), "A");
    EXPECT_TRUE(edited.stored_flg());
    EXPECT_TRUE(edited.changed_flg());
    EXPECT_EQ(active_lst.lines(), (Lines{"a-exe", "unsaved"}));
    EXPECT_EQ(selector.lines(), (Lines{"A", "B"}));
    EXPECT_EQ(selector.current_index(), 0);
    edited.clear_changed();
    load(0);
  }
}

TEST_F(EnvironmentCommandsTest, SavingUnderAnotherEnvironmentsNameReplacesItsLists) {
  for (const std::string typed : {"B", "b"}) {
    save_environment(ini, "B", {{"b-kill"}, {"b-exe"}});
    load(0);
    active_lst.insert(1, "more");
    get_name_dlg.ok(typed);

    EXPECT_TRUE(save_as_kankyou(parts));

    EXPECT_EQ(load_environment(ini, "B").exe, (Lines{"a-exe", "more"}));
    EXPECT_EQ(load_environment(ini, "A").exe, Lines{"a-exe"});
    EXPECT_EQ(ini.read_sections(), (Lines{"A", "B"}));
    EXPECT_EQ(selector.lines(), (Lines{"A", "B"}));
    EXPECT_EQ(selector.current_index(), 1);
    EXPECT_EQ(tray(), (Lines{"A", "B"}));
  }
}

TEST_F(EnvironmentCommandsTest, RenameMovesTheListsWithTheirUnsavedChanges) {
  kill_lst.insert(1, "more-kill");
  edited.set_changed();
  get_name_dlg.ok("C");

  change_kankyouname_actExecute(parts);

  EXPECT_EQ(get_name_dlg.shown(),
            (std::vector<Shown>{{jp("名前を付けて保存"), jp("保存名"), "A"}}));
  EXPECT_EQ(ini.read_sections(), (Lines{"B", "C"}));
  EXPECT_EQ(load_environment(ini, "C").kill, (Lines{"a-kill", "more-kill"}));
  EXPECT_EQ(selector.lines(), (Lines{"B", "C"}));
  EXPECT_EQ(selector.current_index(), 1);
  EXPECT_EQ(tray(), (Lines{"B", "C"}));
  EXPECT_EQ(edited.kankyou_name(), "C");
  EXPECT_FALSE(edited.changed_flg());
  EXPECT_EQ(kill_lst.lines(), (Lines{"a-kill", "more-kill"}));
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(EnvironmentCommandsTest, RenamingToTheSameNameIsAPlainSave) {
  for (const std::string typed : {"A", "a"}) {
    save_environment(ini, "A", {{"a-kill"}, {"a-exe"}});
    load(0);
    active_lst.insert(1, "more");
    edited.set_changed();
    get_name_dlg.ok(typed);

    change_kankyouname_actExecute(parts);

    EXPECT_EQ(load_environment(ini, "A").exe, (Lines{"a-exe", "more"}));
    EXPECT_EQ(ini.read_sections(), (Lines{"A", "B"}));
    EXPECT_EQ(selector.lines(), (Lines{"A", "B"}));
    EXPECT_EQ(edited.kankyou_name(), "A");
    EXPECT_FALSE(edited.changed_flg());
  }
}

TEST_F(EnvironmentCommandsTest, ANewEnvironmentsDefaultNameNeverErasesTheEnvironmentOfThatName) {
  const std::string taken = jp("環境3");
  save_environment(ini, taken, {{"k3"}, {"e3"}});
  selector.append(taken);
  make_kankyou_items(selector, tray_pop);

  make_kankyouClick(parts);
  ASSERT_EQ(edited.kankyou_name(), taken);
  active_lst.insert(0, "new");
  prompts.answer(Answer::yes);
  delete_kankyouClick(parts);

  EXPECT_EQ(prompts.shown().back().text, taken + kDeleteQuestion);
  EXPECT_EQ(load_environment(ini, taken).exe, Lines{"e3"});
  EXPECT_EQ(selector.lines(), (Lines{"A", "B", taken}));
  EXPECT_EQ(tray(), (Lines{"A", "B", taken}));
  EXPECT_EQ(edited.kankyou_name(), "A");  // back to the first environment
  EXPECT_EQ(active_lst.lines(), Lines{"a-exe"});

  make_kankyouClick(parts);
  ASSERT_EQ(edited.kankyou_name(), taken);
  active_lst.insert(0, "new");
  get_name_dlg.ok("N");
  change_kankyouname_actExecute(parts);

  EXPECT_EQ(load_environment(ini, taken).exe, Lines{"e3"});
  EXPECT_EQ(load_environment(ini, "N").exe, Lines{"new"});
  EXPECT_EQ(selector.lines(), (Lines{"A", "B", taken, "N"}));
  EXPECT_EQ(edited.kankyou_name(), "N");
}

TEST_F(EnvironmentCommandsTest, DeleteErasesAtOnceAndLoadsTheFirstRemaining) {
  load(1);
  kill_lst.insert(1, "unsaved");
  edited.set_changed();
  prompts.answer(Answer::yes);

  delete_kankyouClick(parts);

  ASSERT_EQ(prompts.shown().size(), 1u);  // no save question
  EXPECT_EQ(prompts.shown()[0].kind, FakePrompts::Kind::yes_no);
  EXPECT_EQ(prompts.shown()[0].text, "B" + kDeleteQuestion);
  EXPECT_EQ(ini.read_sections(), Lines{"A"});
  EXPECT_EQ(selector.lines(), Lines{"A"});
  EXPECT_EQ(selector.current_index(), 0);
  EXPECT_EQ(tray(), Lines{"A"});
  EXPECT_EQ(edited.kankyou_name(), "A");
  EXPECT_EQ(kill_lst.lines(), Lines{"a-kill"});
  EXPECT_FALSE(edited.changed_flg());
}

TEST_F(EnvironmentCommandsTest, OnlyYesDeletes) {
  for (const Answer answer : {Answer::no, Answer::cancel}) {
    const std::string before = file();
    prompts.answer(answer);
    delete_kankyouClick(parts);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(selector.lines(), (Lines{"A", "B"}));
    EXPECT_EQ(edited.kankyou_name(), "A");
    EXPECT_EQ(active_lst.lines(), Lines{"a-exe"});
  }
}

TEST_F(EnvironmentCommandsTest, DeleteRemovesTheEditedEnvironmentNotTheOneTheSelectorShows) {
  edited.set_changed();
  prompts.answer(Answer::cancel);
  selector.set_current_index(1);
  edited.kankyou_cmbChange();
  ASSERT_EQ(edited.kankyou_name(), "A");
  prompts.answer(Answer::yes);

  delete_kankyouClick(parts);

  EXPECT_EQ(ini.read_sections(), Lines{"B"});
  EXPECT_EQ(selector.lines(), Lines{"B"});
  EXPECT_EQ(edited.kankyou_name(), "B");
}

TEST_F(EnvironmentCommandsTest, AfterTheLastDeleteASaveAsksForANameAgain) {
  prompts.answer(Answer::yes);
  prompts.answer(Answer::yes);
  delete_kankyouClick(parts);
  delete_kankyouClick(parts);

  EXPECT_EQ(prompts.shown()[1].text, "B" + kDeleteQuestion);
  EXPECT_TRUE(ini.read_sections().empty());
  EXPECT_EQ(selector.current_index(), -1);
  EXPECT_EQ(tray(), Lines{});
  EXPECT_EQ(kill_lst.count() + active_lst.count(), 0);
  EXPECT_EQ(edited.kankyou_name(), jp("環境0"));
  EXPECT_FALSE(edited.stored_flg());

  active_lst.insert(0, "x");
  get_name_dlg.cancel();
  save_kankyou_actExecute(parts);
  EXPECT_EQ(get_name_dlg.shown().size(), 1u);
  EXPECT_TRUE(ini.read_sections().empty());
}

TEST_F(EnvironmentCommandsTest, NamesTheSettingsFileCannotHoldAreRefused) {
  const std::string line_break = jp("環境名に改行は使えません。");
  const std::string bracket = jp("環境名に「]」は使えません。");
  const std::string blank = jp("環境名の先頭と末尾に空白は使えません。");
  const std::string system =
      jp("「Zorveksystem」は設定の保存に使う名前なので、環境名には使えません。");
  const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
      {"", jp("環境名を入力して下さい。")},
      {"a\nb", line_break},
      {"a\r", line_break},
      {"a]b", bracket},
      {"]", bracket},
      {" a", blank},
      {"a\t", blank},
      {"Zorveksystem", system},
      {"zorvekSYSTEM", system},
      {"Zorveksystem2", std::nullopt},
      {"a[b c", std::nullopt},
      {jp("ゾーン"), std::nullopt},  // "ゾ" ends in the byte of "]"
      {jp("　全角"), std::nullopt},
  };
  for (const auto& [name, problem] : cases) {
    EXPECT_EQ(kankyou_name_problem(name), problem) << codec::to_utf8(name);
  }
}

TEST_F(EnvironmentCommandsTest, ARefusedNameIsExplainedAndAskedForAgain) {
  const std::string before = file();
  get_name_dlg.ok("a]b");
  get_name_dlg.ok("ZORVEKSYSTEM");
  get_name_dlg.cancel();

  EXPECT_FALSE(save_as_kankyou(parts));

  ASSERT_EQ(get_name_dlg.shown().size(), 3u);
  EXPECT_EQ(get_name_dlg.shown()[1].text, "a]b");  // left in the field to be corrected
  ASSERT_EQ(prompts.shown().size(), 2u);
  EXPECT_EQ(prompts.shown()[0].kind, FakePrompts::Kind::message);
  EXPECT_EQ(prompts.shown()[0].text, jp("環境名に「]」は使えません。"));
  EXPECT_EQ(file(), before);

  get_name_dlg.ok(" c");
  get_name_dlg.ok("c");
  EXPECT_TRUE(save_as_kankyou(parts));
  EXPECT_EQ(ini.read_sections(), (Lines{"A", "B", "c"}));
  EXPECT_EQ(edited.kankyou_name(), "c");
}

TEST_F(EnvironmentCommandsTest, AFailedSaveUnderANameLeavesTheEditorAsItWas) {
  ASSERT_EQ(chmod((dir / "joutai.INI").c_str(), 0444), 0);
  get_name_dlg.ok("C");
  EXPECT_THROW(save_as_kankyou(parts), StoreError);
  EXPECT_EQ(edited.kankyou_name(), "A");
  EXPECT_TRUE(edited.stored_flg());
  EXPECT_EQ(selector.lines(), (Lines{"A", "B"}));
  EXPECT_EQ(tray(), (Lines{"A", "B"}));

  make_kankyouClick(parts);
  get_name_dlg.ok("C");
  EXPECT_THROW(save_kankyou_actExecute(parts), StoreError);
  EXPECT_EQ(edited.kankyou_name(), jp("環境2"));
  EXPECT_FALSE(edited.stored_flg());
}

TEST_F(EnvironmentCommandsTest, AFailedDeleteLeavesTheEditorAsItWas) {
  ASSERT_EQ(chmod((dir / "joutai.INI").c_str(), 0444), 0);
  prompts.answer(Answer::yes);
  EXPECT_THROW(delete_kankyouClick(parts), StoreError);
  EXPECT_EQ(selector.lines(), (Lines{"A", "B"}));
  EXPECT_EQ(active_lst.lines(), Lines{"a-exe"});
  EXPECT_EQ(edited.kankyou_name(), "A");
}

}  // namespace
}  // namespace zorvek
