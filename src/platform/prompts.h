// Modal message boxes. Every text is CP932; the caption is always the application title.
#pragma once

#include <string>

namespace zorvek {

enum class Answer { yes, no, cancel };

class Prompts {
 public:
  virtual ~Prompts() = default;

  // Confirmation with Yes, No and Cancel; Escape and the close box answer cancel.
  virtual Answer ask_yes_no_cancel(const std::string& text) = 0;
  // Confirmation with Yes and No; any way of closing it other than Yes answers no.
  virtual Answer ask_yes_no(const std::string& text) = 0;
  // A plain message with an OK button.
  virtual void show_message(const std::string& text) = 0;
  // The standard error box: stop icon, OK button. The text is shown as given.
  virtual void show_error(const std::string& text) = 0;
};

}  // namespace zorvek
