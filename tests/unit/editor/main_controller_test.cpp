#include "editor/main_controller.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>

#include "platform/codec.h"
#include "platform/fake/fake_list_box.h"
#include "platform/fake/fake_prompts.h"
#include "platform/fake/fake_selector.h"
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
  void request_close(WindowId) override {}
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
  void minimize_main_window() override { ++minimized; }
  void quit() override { ++quits; }
  int minimized = 0;
  int quits = 0;
};

class MainControllerTest : public ::testing::Test {
 protected:
  std::filesystem::path ini_path() const { return dir / "joutai.INI"; }
  IniFile ini() const { return IniFile(ini_path()); }

  MainController& start() {
    controller = std::make_unique<MainController>(
        MainView{handle_lst, kill_lst, active_lst, selector, count_lbl, properties, prompts, app},
        windows, dir / "zorvek");
    controller->form_create();
    return *controller;
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
  FakePrompts prompts;
  FakeApp app;
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
  controller = std::make_unique<MainController>(
      MainView{handle_lst, kill_lst, active_lst, selector, count_lbl, properties, prompts, app},
      windows, blocked / "zorvek");
  controller->form_create();
  EXPECT_TRUE(controller->hide_done_flg());
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].kind, FakePrompts::Kind::error);
  EXPECT_EQ(selector.current_index(), -1);
}

}  // namespace
}  // namespace zorvek
