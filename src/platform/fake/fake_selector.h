// An in-memory environment selector for logic tests.
#pragma once

#include <string>
#include <vector>

#include "platform/selector.h"

namespace zorvek {

class FakeSelector : public Selector {
 public:
  int count() const override { return static_cast<int>(lines_.size()); }
  std::string line(int i) const override { return lines_.at(static_cast<std::size_t>(i)); }
  void append(const std::string& text) override { lines_.push_back(text); }
  void remove(int i) override;
  void clear() override;
  int current_index() const override { return current_; }
  void set_current_index(int i) override;
  std::string text() const override { return text_; }

  // Test helpers: what the user typed, and the whole list.
  void type(const std::string& text) { text_ = text; }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
  int current_ = -1;
  std::string text_;
};

}  // namespace zorvek
