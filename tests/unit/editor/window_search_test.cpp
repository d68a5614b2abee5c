#include "editor/window_search.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/codec.h"
#include "platform/fake/fake_list_box.h"
#include "platform/fake/fake_name_dialog.h"

namespace zorvek {
namespace {

class TextLabel : public Label {
 public:
  std::string text() const override { return text_; }
  void set_text(const std::string& text) override { text_ = text; }

 private:
  std::string text_;
};

class WindowSearchTest : public ::testing::Test {
 protected:
  WindowSearchTest() {
    handle_lst.set_lines({"Editor - a", "MAIL", "Mail client", "editor - b", "Terminal", "Mail 2"});
  }

  std::set<int> selection() const {
    std::set<int> out;
    for (int i = 0; i < handle_lst.count(); ++i) {
      if (handle_lst.selected(i)) out.insert(i);
    }
    return out;
  }

  void search(const std::string& text) {
    get_name_dlg.ok(text);
    search_btnClick(handle_lst, get_name_dlg, count_lbl);
  }
  void next() { next_btnClick(handle_lst, get_name_dlg, count_lbl); }

  FakeListBox handle_lst;
  FakeNameDialog get_name_dlg;
  TextLabel count_lbl;
};

TEST_F(WindowSearchTest, SearchSelectsTheFirstMatchAloneAndShowsItsIndexFromZero) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"Editor", 0}, {"Mail", 2}, {"mail", -1}, {"Term", 4}, {"nowhere", -1}};
  for (const auto& [text, found] : cases) {
    handle_lst.set_selected(1, true);
    handle_lst.set_selected(5, true);
    get_name_dlg.set_text("left over");

    search(text);

    const FakeNameDialog::Shown shown{jp("起動プロセス検索"), jp("検索名"), ""};
    EXPECT_EQ(get_name_dlg.shown().back(), shown);
    EXPECT_EQ(count_lbl.text(), std::to_string(found)) << text;
    EXPECT_EQ(selection(), found < 0 ? std::set<int>{} : std::set<int>{found}) << text;
    if (found >= 0) {
      EXPECT_EQ(handle_lst.current(), found);
    }
  }
}

TEST_F(WindowSearchTest, NextVisitsTheMatchesDownwardsWithoutWrappingAround) {
  search("Mail");
  std::vector<std::string> shown = {count_lbl.text()};
  for (int i = 0; i < 3; ++i) {
    next();
    shown.push_back(count_lbl.text());
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"2", "5", "-1", "-1"}));
  EXPECT_TRUE(selection().empty());
  EXPECT_EQ(handle_lst.current(), 5);
}

TEST_F(WindowSearchTest, NextBeginsBelowTheCurrentLine) {
  // After a refill the first line is current, so its own match is passed over.
  get_name_dlg.set_text("Editor");
  next();
  EXPECT_EQ(count_lbl.text(), "-1");

  handle_lst.set_selected(2, true);  // a click
  get_name_dlg.set_text("Mail");
  next();
  EXPECT_EQ(count_lbl.text(), "5");
  EXPECT_EQ(selection(), std::set<int>{5});
}

TEST_F(WindowSearchTest, CancelChangesNothingAndNextLooksForWhatWasLeftTyped) {
  for (const auto& [typed, found] :
       std::vector<std::pair<std::string, std::string>>{{"Term", "4"}, {"", "-1"}}) {
    handle_lst.set_lines({"Editor - a", "MAIL", "Mail client", "editor - b", "Terminal"});
    handle_lst.set_selected(1, true);
    count_lbl.set_text("7");
    get_name_dlg.cancel(typed);

    search_btnClick(handle_lst, get_name_dlg, count_lbl);
    EXPECT_EQ(selection(), std::set<int>{1});
    EXPECT_EQ(count_lbl.text(), "7");

    next();
    EXPECT_EQ(count_lbl.text(), found);
  }
}

}  // namespace
}  // namespace zorvek
