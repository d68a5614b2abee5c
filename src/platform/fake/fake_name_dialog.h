// The name dialog for logic tests: the user's answers are queued beforehand, and every showing is
// recorded with the caption, prompt and text it had.
#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/name_dialog.h"

namespace zorvek {

class FakeNameDialog : public NameDialog {
 public:
  struct Shown {
    std::string caption;
    std::string prompt;
    std::string text;  // the entry field as the dialog opened
    bool operator==(const Shown&) const = default;
  };

  void set_caption(const std::string& caption) override { caption_ = caption; }
  void set_prompt(const std::string& prompt) override { prompt_ = prompt; }
  void set_text(const std::string& text) override { text_ = text; }
  std::string text() const override { return text_; }

  bool show_modal() override {
    shown_.push_back({caption_, prompt_, text_});
    if (answers_.empty()) throw std::logic_error("the name dialog was shown unexpectedly");
    const Answer a = answers_.front();
    answers_.pop_front();
    if (a.typed) text_ = *a.typed;
    // As the real dialog: OK is only possible with some text.
    return a.ok && !text_.empty();
  }

  // The user types typed (or leaves the text as it is) and presses OK.
  void ok(std::optional<std::string> typed = std::nullopt) { answers_.push_back({true, typed}); }
  // The user types typed (or nothing) and cancels.
  void cancel(std::optional<std::string> typed = std::nullopt) {
    answers_.push_back({false, typed});
  }
  const std::vector<Shown>& shown() const { return shown_; }

 private:
  struct Answer {
    bool ok;
    std::optional<std::string> typed;
  };
  std::deque<Answer> answers_;
  std::vector<Shown> shown_;
  std::string caption_;
  std::string prompt_;
  std::string text_;
};

}  // namespace zorvek
