// Message boxes for logic tests: answers are queued beforehand, and every box shown is recorded.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/prompts.h"

namespace zorvek {

class FakePrompts : public Prompts {
 public:
  enum class Kind { yes_no_cancel, yes_no, message, error };
  struct Shown {
    Kind kind;
    std::string text;
  };

  Answer ask_yes_no_cancel(const std::string& text) override;
  Answer ask_yes_no(const std::string& text) override;
  void show_message(const std::string& text) override;
  void show_error(const std::string& text) override;

  // The answer to the next question; a question with no queued answer fails the test.
  void answer(Answer a) { answers_.push_back(a); }
  const std::vector<Shown>& shown() const { return shown_; }
  void forget() { shown_.clear(); }

 private:
  Answer next();
  std::deque<Answer> answers_;
  std::vector<Shown> shown_;
};

}  // namespace zorvek
