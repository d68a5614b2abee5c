// An in-memory list box for logic tests.
#pragma once

#include <string>
#include <vector>

#include "platform/list_box.h"

namespace zorvek {

class FakeListBox : public ListBox {
 public:
  explicit FakeListBox(bool sorted = false) : sorted_(sorted) {}

  int count() const override { return static_cast<int>(lines_.size()); }
  std::string line(int i) const override { return lines_.at(static_cast<std::size_t>(i)).text; }
  void insert(int i, const std::string& text) override;
  void remove(int i) override;
  void replace(int i, const std::string& text) override;
  void clear() override;
  bool selected(int i) const override { return lines_.at(static_cast<std::size_t>(i)).selected; }
  void set_selected(int i, bool on) override;
  int current() const override { return current_; }
  void set_current(int i) override { current_ = i; }
  bool sorted() const override { return sorted_; }

  // Test helpers.
  std::vector<std::string> lines() const;
  void set_lines(const std::vector<std::string>& lines);

 private:
  struct Line {
    std::string text;
    bool selected = false;
  };
  std::vector<Line> lines_;
  int current_ = -1;
  bool sorted_;
};

}  // namespace zorvek
