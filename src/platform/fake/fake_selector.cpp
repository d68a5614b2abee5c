#include "platform/fake/fake_selector.h"

namespace zorvek {

void FakeSelector::remove(int i) {
  lines_.erase(lines_.begin() + i);
  if (current_ == i) {
    current_ = -1;
  } else if (current_ > i) {
    --current_;
  }
}

void FakeSelector::clear() {
  lines_.clear();
  current_ = -1;
  text_.clear();
}

void FakeSelector::set_current_index(int i) {
  current_ = i >= 0 && i < count() ? i : -1;
  text_ = current_ >= 0 ? lines_[static_cast<std::size_t>(current_)] : std::string();
}

}  // namespace zorvek
