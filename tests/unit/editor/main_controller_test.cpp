#include "editor/main_controller.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <iterator>
#include <map>

#include "platform/codec.h"
#include "platform/fake/fake_check_item.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_list_box.h"
#include "platform/fake/fake_name_dialog.h"
#include "platform/fake/fake_prompts.h"
#include "platform/fake/fake_selector.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_tray_menu.h"
#include "store/environment_store.h"
#include "support/temp_dir.h"

namespace zorvek {
namespace {

using Lines = std::vector<std::string>;

// Records the order in which start-up touches the parts of the window.
using Trace = std::vector<std::string>;

class TracingWindows : public WindowSystem {
 public:
  explicit TracingWindows(Trace& trace) : trace_(trace) {}
  std::vector<TopLevelWindow> top_level_windows() override {
    trace_.push_back("windows");
    return windows;
  }
  void request_close(WindowId id) override { trace_.push_back("close " + std::to_string(id)); }
  std::vector<TopLevelWindow> windows;

 private:
  Trace& trace_;
};

class FakeLabel : public Label {
 public:
  explicit FakeLabel(Trace& trace) : trace_(trace) {}
  std::string text() const override { return text_; }
  void set_text(const std::string& text) override {
    trace_.push_back("count_lbl");
    text_ = text;
  }

 private:
  Trace& trace_;
  std::string text_;
};

class FakeProperties : public WindowProperties {
 public:
  explicit FakeProperties(Trace& trace) : trace_(trace) {}
  int property(WindowProperty p) const override { return values.at(p); }
  void set_property(WindowProperty p, int value) override {
    trace_.push_back("settings");
    values[p] = value;
  }
  std::map<WindowProperty, int> values = {
      {WindowProperty::log_checked, 0},   {WindowProperty::form_width, 641},
      {WindowProperty::form_height, 565}, {WindowProperty::active_height, 257},
      {WindowProperty::kill_height, 259}, {WindowProperty::split_top, 257}};

 private:
  Trace& trace_;
};

class TracingSelector : public FakeSelector {
 public:
  explicit TracingSelector(Trace& trace) : trace_(trace) {}
  void set_current_index(int i) override {
    trace_.push_back("select");
    FakeSelector::set_current_index(i);
  }

 private:
  Trace& trace_;
};

class FakeApp : public AppControl {
 public:
  bool tray_available() const override { return true; }
  void minimize_main_window() override { ++minimized; }
  void show_main_window() override { visible = true; }
  void hide_main_window() override { visible = false; }
  void restore_main_window() override { ++restored; }
  void quit() override { ++quits; }
  int minimized = 0;
  int restored = 0;
  int quits = 0;
  bool visible = false;
};

class MainControllerTest : public ::testing::Test {
 protected:
  std::filesystem::path ini_path() const { return dir / "joutai.INI"; }
  IniFile ini() const { return IniFile(ini_path()); }

  MainController& start() {
    controller =
        std::make_unique<MainController>(view(), Desktop{windows, shell, clock}, dir / "zorvek");
    controller->form_create();
    return *controller;
  }

  MainView view() {
    return {handle_lst, kill_lst,     active_lst, selector, count_lbl, flg_log_mnu,
            tray_pop,   get_name_dlg, properties, prompts,  app};
  }

  testing::TempDir dir;
  Trace trace;
  TracingWindows windows{trace};
  FakeListBox handle_lst{true};
  FakeListBox kill_lst;
  FakeListBox active_lst;
  TracingSelector selector{trace};
  FakeLabel count_lbl{trace};
  FakeProperties properties{trace};
  FakeCheckItem flg_log_mnu;
  FakeTrayMenu tray_pop;
  FakeNameDialog get_name_dlg;
  FakePrompts prompts;
  FakeApp app;
  FakeShell shell;
  FakeClock clock{2001, 5, 12, 9, 3, 7};
  std::unique_ptr<MainController> controller;
};

TEST_F(MainControllerTest, FirstRunWritesTheSampleAndStaysOnScreen) {
  MainController& c = start();
  EXPECT_TRUE(c.hide_done_flg());
  EXPECT_EQ(selector.lines(), Lines{jp("例")});
  EXPECT_EQ(selector.current_index(), 0);
  EXPECT_EQ(active_lst.lines(), Lines{"./Readme.txt"});
  EXPECT_EQ(kill_lst.count(), 0);
  EXPECT_EQ(c.edited().kankyou_name(), jp("例"));
  EXPECT_EQ(testing::read_file(ini_path()), jp("[例]\r\nexe0=./Readme.txt\r\n"));
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(MainControllerTest, StartUpRunsItsStepsInOrder) {
  windows.windows = {{1, "b"}, {2, "A"}, {3, "a"}, {4, ""}, {5, std::string(300, 'x')}};
  IniFile store(ini_path());
  save_environment(store, "env", {{"k"}, {"e"}});
  start();
  const Trace expected = {"windows",  "count_lbl", "settings", "settings", "settings",
                          "settings", "settings",  "settings", "select"};
  EXPECT_EQ(trace, expected);
  // Distinct titles in case-blind order, each at most 254 bytes.
  EXPECT_EQ(handle_lst.lines(), (Lines{"A", "b", std::string(254, 'x')}));
  EXPECT_EQ(count_lbl.text(), "1");
  EXPECT_EQ(kill_lst.lines(), Lines{"k"});
}

TEST_F(MainControllerTest, AStoreWithOnlyTheSystemSectionStartsEmptyAndHidden) {
  testing::write_file(ini_path(), "[Zorveksystem]\r\nform_width=700\r\n");
  MainController& c = start();
  EXPECT_FALSE(c.hide_done_flg());
  EXPECT_EQ(selector.count(), 0);
  EXPECT_EQ(selector.current_index(), -1);
  EXPECT_EQ(active_lst.count(), 0);
  EXPECT_EQ(testing::read_file(ini_path()), "[Zorveksystem]\r\nform_width=700\r\n");
}

TEST_F(MainControllerTest, OnlyTheExactSystemSectionNameIsLeftOut) {
  testing::write_file(ini_path(), "[one]\r\n[zorveksystem]\r\n[Zorveksystem]\r\n[two]\r\n");
  start();
  EXPECT_EQ(selector.lines(), (Lines{"one", "zorveksystem", "two"}));
}

TEST_F(MainControllerTest, WindowSettingsAreReadWithTheDesignValuesAsDefaults) {
  testing::write_file(ini_path(),
                      "[e]\r\n[Zorveksystem]\r\nmake_log_flg=1\r\nform_width=wide\r\n"
                      "form_height=0x300\r\nkill_height=-7\r\n");
  start();
  EXPECT_EQ(properties.values[WindowProperty::log_checked], 1);
  EXPECT_EQ(properties.values[WindowProperty::form_width], 641);
  EXPECT_EQ(properties.values[WindowProperty::form_height], 768);
  EXPECT_EQ(properties.values[WindowProperty::kill_height], -7);
  EXPECT_EQ(properties.values[WindowProperty::split_top], 257);
}

TEST_F(MainControllerTest, EndingWritesTheSixSettingsIntoTheSystemSection) {
  testing::write_file(ini_path(), "[e]\r\nexe0=x\r\n");
  MainController& c = start();
  properties.values[WindowProperty::log_checked] = 1;
  properties.values[WindowProperty::form_width] = 800;
  c.form_destroy();
  EXPECT_EQ(testing::read_file(ini_path()),
            "[e]\r\nexe0=x\r\n[Zorveksystem]\r\nmake_log_flg=1\r\nform_width=800\r\n"
            "form_height=565\r\nactive_height=257\r\nkill_height=259\r\nsplit_top=257\r\n");
}

TEST_F(MainControllerTest, ClosingAsksAndAlwaysGoesAway) {
  for (const Answer answer : {Answer::yes, Answer::no, Answer::cancel}) {
    testing::write_file(ini_path(), "[e]\r\nexe0=x\r\n");
    MainController& c = start();
    active_lst.insert(1, "y");
    c.edited().set_changed();
    prompts.answer(answer);
    app.minimized = 0;

    c.form_close_query();

    EXPECT_EQ(app.minimized, 1);
    EXPECT_EQ(app.quits, 0);
    EXPECT_EQ(c.edited().changed_flg(), answer != Answer::yes);
    EXPECT_EQ(load_environment(ini(), "e").exe.size(), answer == Answer::yes ? 2u : 1u);
  }
}

TEST_F(MainControllerTest, ExitingEndsTheProgramUnlessCancelled) {
  struct Case {
    Answer answer;
    int quits;
  };
  for (const Case c : {Case{Answer::cancel, 0}, Case{Answer::no, 1}, Case{Answer::yes, 1}}) {
    testing::write_file(ini_path(), "[e]\r\nexe0=x\r\n");
    MainController& m = start();
    m.edited().set_changed();
    prompts.answer(c.answer);
    app.quits = 0;
    m.end_pop_click();
    EXPECT_EQ(app.quits, c.quits);
  }
}

TEST_F(MainControllerTest, AFailedSaveOnExitKeepsTheProgramRunning) {
  testing::write_file(ini_path(), "[e]\r\nexe0=x\r\n");
  MainController& c = start();
  c.edited().set_changed();
  ASSERT_EQ(chmod(ini_path().c_str(), 0444), 0);
  prompts.answer(Answer::yes);
  c.end_pop_click();
  EXPECT_EQ(app.quits, 0);
  ASSERT_EQ(prompts.shown().size(), 2u);
  EXPECT_EQ(prompts.shown()[1].kind, FakePrompts::Kind::error);
  EXPECT_TRUE(c.edited().changed_flg());
}

TEST_F(MainControllerTest, TheSessionMayEndEvenAfterCancel) {
  testing::write_file(ini_path(), "[e]\r\nexe0=x\r\n");
  MainController& c = start();
  c.edited().set_changed();
  prompts.answer(Answer::cancel);
  EXPECT_TRUE(c.end_of_session());
  EXPECT_EQ(app.minimized, 1);
  EXPECT_EQ(ini().read_integer(kSystemSection, "form_width", 0), 641);
}

TEST_F(MainControllerTest, AFirstRunThatCannotWriteShowsTheErrorAndStaysOnScreen) {
  // A read-only settings file that holds nothing yet.
  const auto blocked = dir / "blocked";
  std::filesystem::create_directories(blocked);
  testing::write_file(blocked / "joutai.INI", "");
  ASSERT_EQ(chmod((blocked / "joutai.INI").c_str(), 0444), 0);
  controller =
      std::make_unique<MainController>(view(), Desktop{windows, shell, clock}, blocked / "zorvek");
  controller->form_create();
  EXPECT_TRUE(controller->hide_done_flg());
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].kind, FakePrompts::Kind::error);
  EXPECT_EQ(selector.current_index(), -1);
}

TEST_F(MainControllerTest, TheTrayMenuListsTheEnvironmentsAfterItsFixedItems) {
  testing::write_file(ini_path(), "[one]\r\n[Zorveksystem]\r\n[two]\r\n[three]\r\n");
  MainController& c = start();
  const std::vector<FakeTrayMenu::Item> expected = {
      {"kankyou_pop0", "one", 0}, {"kankyou_pop1", "two", 1}, {"kankyou_pop2", "three", 2}};
  EXPECT_EQ(tray_pop.environments(), expected);

  selector.remove(1);
  c.make_kankyou_items();
  const std::vector<FakeTrayMenu::Item> after = {{"kankyou_pop0", "one", 0},
                                                 {"kankyou_pop1", "three", 1}};
  EXPECT_EQ(tray_pop.environments(), after);

  c.form_destroy();
  EXPECT_EQ(tray_pop.count(), 5);
}

class SwitchTest : public MainControllerTest {
 protected:
  SwitchTest() {
    testing::write_file(ini_path(),
                        "[a]\r\nkill0=Mail\r\nexe0=/a.txt\r\n"
                        "[b]\r\nkill0=Editor\r\nkill1=Editor\r\nexe0=/missing.txt\r\n"
                        "exe1=/b.txt\r\n");
    windows.windows = {{1, "Mail"}, {2, "Editor - x"}, {3, "Editor - y"}};
    shell.set_result("/missing.txt", OpenResult::not_found);
    shell.on_open([this](const FakeShell::Call& call) { trace.push_back("open " + call.file); });
    start();
    trace.clear();
  }

  // What reached the desktop, in order.
  Trace actions() const {
    Trace out;
    std::copy_if(trace.begin(), trace.end(), std::back_inserter(out),
                 [](const std::string& t) { return t != "select"; });
    return out;
  }
};

TEST_F(SwitchTest, ClosesThenLaunchesInListOrderAndLogsEachAction) {
  flg_log_mnu.set_checked(true);
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());

  controller->switch_kankyou(1);

  std::filesystem::current_path(cwd);
  const Trace expected = {"windows", "close 2", "close 3", "open /missing.txt", "open /b.txt"};
  EXPECT_EQ(actions(), expected);
  EXPECT_EQ(controller->edited().kankyou_name(), "b");
  EXPECT_EQ(selector.current_index(), 1);
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].text, jp("ファイルが見あたらないんだけど．．．\n") + "/missing.txt");
  const std::string stamp = "[2001/05/12/ 09:03:07] ";
  EXPECT_EQ(testing::read_file(dir / "zorvek010512.log"),
            jp("終了") + stamp + "Editor\r\n" + jp("終了") + stamp + "Editor\r\n" + jp("起動") +
                stamp + "/missing.txt\r\n" + jp("起動") + stamp + "/b.txt\r\n");
}

TEST_F(SwitchTest, CancelAtTheSaveQuestionEndsTheSwitchBeforeAnythingIsClosed) {
  controller->edited().set_changed();
  prompts.answer(Answer::cancel);
  controller->switch_kankyou(1);
  EXPECT_EQ(actions(), Trace{});
  EXPECT_EQ(controller->edited().kankyou_name(), "a");
  EXPECT_EQ(selector.current_index(), 0);
  EXPECT_TRUE(controller->edited().changed_flg());
}

TEST_F(SwitchTest, YesSavesTheEditedEnvironmentFirst) {
  kill_lst.insert(1, "Terminal");
  controller->edited().set_changed();
  prompts.answer(Answer::yes);
  controller->switch_kankyou(1);
  EXPECT_EQ(load_environment(ini(), "a").kill, (Lines{"Mail", "Terminal"}));
  EXPECT_EQ(actions().front(), "windows");
  EXPECT_EQ(controller->edited().kankyou_name(), "b");
}

TEST_F(SwitchTest, ASecondSwitchCannotStartWhileOneWaitsOnAMessage) {
  shell.on_open([this](const FakeShell::Call& call) {
    trace.push_back("open " + call.file);
    controller->switch_kankyou(0);  // clicked while the missing-file message is up
  });
  controller->switch_kankyou(1);
  EXPECT_EQ(controller->edited().kankyou_name(), "b");
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "windows"), 1);
}

TEST_F(MainControllerTest, TheTrayHidesAndShowsTheMainWindow) {
  testing::write_file(ini_path(), "[e]\r\nexe0=x\r\n");
  MainController& c = start();
  app.visible = true;
  c.edited().set_changed();
  prompts.answer(Answer::cancel);
  c.tray_icon_minimize();
  EXPECT_FALSE(app.visible);
  EXPECT_TRUE(c.edited().changed_flg());

  windows.windows = {{7, "New window"}};
  c.tray_icon_restore();
  EXPECT_TRUE(app.visible);
  EXPECT_EQ(handle_lst.lines(), Lines{"New window"});

  app.visible = false;
  windows.windows = {{8, "Other"}};
  c.settei_pop_click();
  EXPECT_TRUE(app.visible);
  EXPECT_EQ(app.restored, 1);
  EXPECT_EQ(handle_lst.lines(), Lines{"Other"});
}

TEST_F(MainControllerTest, ClickingTheOpenWindowListShowsTheLowestSelectedLine) {
  windows.windows = {{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}, {5, "e"}};
  MainController& c = start();
  handle_lst.set_selected(4, true);
  handle_lst.set_selected(1, true);
  c.handle_lstClick();
  EXPECT_EQ(count_lbl.text(), "5");
  c.get_list_btnClick();
  EXPECT_EQ(count_lbl.text(), "5");
  EXPECT_FALSE(handle_lst.selected(4));
}

TEST_F(MainControllerTest, HelpComplainsOnlyWhenTheDocumentIsMissing) {
  MainController& c = start();
  c.help_click();
  EXPECT_TRUE(prompts.shown().empty());
  shell.set_result("./doc/index.html", OpenResult::not_found);
  c.help_click();
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].text, jp("ヘルプファイルが見あたらないんだけど．．．"));
  EXPECT_EQ(shell.calls().back(), (FakeShell::Call{"./doc/index.html", ""}));
}

Lines tray_captions(const FakeTrayMenu& tray_pop) {
  Lines captions;
  for (const auto& item : tray_pop.environments()) captions.push_back(item.caption);
  return captions;
}

TEST_F(MainControllerTest, TheSaveQuestionNamesANewEnvironmentInTheNameDialog) {
  testing::write_file(ini_path(), "[e]\r\nexe0=x\r\n");
  MainController& c = start();
  c.make_kankyou_click();
  c.drop_files({"/new.txt"});
  prompts.answer(Answer::yes);
  get_name_dlg.ok("N");

  c.end_pop_click();

  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].text, jp("環境1 は、変更されています。保存しますか？"));
  EXPECT_EQ(load_environment(ini(), "N").exe, Lines{"/new.txt"});
  EXPECT_EQ(tray_captions(tray_pop), (Lines{"e", "N"}));
  EXPECT_EQ(app.quits, 1);
}

TEST_F(MainControllerTest, TheTrayFollowsEveryNameChangeAndTheNextSearchTheLastNameTyped) {
  testing::write_file(ini_path(), "[a]\r\n[b]\r\n");
  windows.windows = {{1, "a"}, {2, "d - window"}};
  MainController& c = start();

  get_name_dlg.ok("c");
  c.saveas_kankyou();
  EXPECT_EQ(tray_captions(tray_pop), (Lines{"a", "b", "c"}));
  get_name_dlg.ok("d");
  c.change_kankyouname();
  EXPECT_EQ(tray_captions(tray_pop), (Lines{"a", "b", "d"}));
  prompts.answer(Answer::yes);
  c.delete_kankyou();
  EXPECT_EQ(tray_captions(tray_pop), (Lines{"a", "b"}));

  c.next_search();
  EXPECT_EQ(count_lbl.text(), "1");
  EXPECT_TRUE(handle_lst.selected(1));
}

TEST_F(MainControllerTest, EachEditingCommandActsOnItsOwnList) {
  testing::write_file(ini_path(), "[e]\r\nkill0=Mail\r\nexe0=/e.txt\r\n");
  windows.windows = {{1, "Mail"}, {2, "Editor"}};
  MainController& c = start();
  trace.clear();

  handle_lst.set_selected(0, true);
  c.add_titles();
  EXPECT_EQ(kill_lst.lines(), (Lines{"Mail", "Editor"}));
  c.kill_kidou();
  kill_lst.set_selected(0, true);
  c.kill_process();
  EXPECT_EQ(trace, (Trace{"windows", "close 2", "windows", "close 1"}));
  c.sort_kill();
  EXPECT_EQ(kill_lst.lines(), (Lines{"Editor", "Mail"}));
  kill_lst.set_selected(1, true);
  get_name_dlg.ok("Term");
  c.edit_kill();
  EXPECT_EQ(kill_lst.lines(), (Lines{"Editor", "Term"}));
  kill_lst.set_selected(1, false);
  kill_lst.set_selected(0, true);
  c.delete_kill();
  EXPECT_EQ(kill_lst.lines(), Lines{"Term"});

  active_lst.set_selected(0, true);
  c.action_active();
  EXPECT_EQ(shell.calls(), (std::vector<FakeShell::Call>{{"/e.txt", "/"}}));
  c.drop_files({"/a.txt"});
  c.sort_active();
  EXPECT_EQ(active_lst.lines(), (Lines{"/a.txt", "/e.txt"}));
  active_lst.set_selected(1, true);
  get_name_dlg.ok("/f.txt");
  c.edit_active();
  EXPECT_EQ(active_lst.lines(), (Lines{"/a.txt", "/f.txt"}));
  active_lst.set_selected(1, false);
  active_lst.set_selected(0, true);
  c.delete_active();
  EXPECT_EQ(active_lst.lines(), Lines{"/f.txt"});

  get_name_dlg.ok("Mail");
  c.search();
  EXPECT_EQ(count_lbl.text(), "1");
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(MainControllerTest, AStoreErrorEndsAnEnvironmentCommandInTheErrorBox) {
  testing::write_file(ini_path(), "[a]\r\nexe0=x\r\n[b]\r\n");
  MainController& c = start();
  ASSERT_EQ(chmod(ini_path().c_str(), 0444), 0);
  prompts.answer(Answer::yes);
  c.delete_kankyou();
  ASSERT_EQ(prompts.shown().size(), 2u);
  EXPECT_EQ(prompts.shown()[1].kind, FakePrompts::Kind::error);
  EXPECT_EQ(selector.lines(), (Lines{"a", "b"}));
  EXPECT_EQ(active_lst.lines(), Lines{"x"});
}

}  // namespace
}  // namespace zorvek
