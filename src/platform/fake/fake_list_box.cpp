#include "platform/fake/fake_list_box.h"

namespace zorvek {

void FakeListBox::insert(int i, const std::string& text) {
  lines_.insert(lines_.begin() + i, Line{text});
  if (current_ < 0) current_ = 0;  // a list box's first line takes the focus
}

void FakeListBox::remove(int i) {
  lines_.erase(lines_.begin() + i);
  if (current_ >= count()) current_ = count() - 1;
}

void FakeListBox::replace(int i, const std::string& text) {
  lines_.at(static_cast<std::size_t>(i)).text = text;
}

void FakeListBox::clear() {
  lines_.clear();
  current_ = -1;
}

void FakeListBox::set_selected(int i, bool on) {
  lines_.at(static_cast<std::size_t>(i)).selected = on;
  if (on) current_ = i;
}

std::vector<std::string> FakeListBox::lines() const {
  std::vector<std::string> out;
  for (const auto& l : lines_) out.push_back(l.text);
  return out;
}

void FakeListBox::set_lines(const std::vector<std::string>& lines) {
  clear();
  for (const auto& l : lines) lines_.push_back(Line{l});
  current_ = lines_.empty() ? -1 : 0;
}

}  // namespace zorvek
