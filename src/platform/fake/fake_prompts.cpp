#include "platform/fake/fake_prompts.h"

#include <stdexcept>

namespace zorvek {

Answer FakePrompts::next() {
  if (answers_.empty()) throw std::logic_error("a question was asked that the test did not expect");
  const Answer a = answers_.front();
  answers_.pop_front();
  return a;
}

Answer FakePrompts::ask_yes_no_cancel(const std::string& text) {
  shown_.push_back({Kind::yes_no_cancel, text});
  return next();
}

Answer FakePrompts::ask_yes_no(const std::string& text) {
  shown_.push_back({Kind::yes_no, text});
  return next();
}

void FakePrompts::show_message(const std::string& text) {
  shown_.push_back({Kind::message, text});
}

void FakePrompts::show_error(const std::string& text) {
  shown_.push_back({Kind::error, text});
}

}  // namespace zorvek
