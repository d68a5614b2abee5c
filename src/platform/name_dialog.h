// The one modal dialog that asks for a line of text: names of environments, edited entries and
// the search text. One instance lives for the whole run and keeps its texts between uses.
#pragma once

#include <string>

namespace zorvek {

class NameDialog {
 public:
  virtual ~NameDialog() = default;
  virtual void set_caption(const std::string& caption) = 0;
  // The prompt above the entry field (title_lbl).
  virtual void set_prompt(const std::string& prompt) = 0;
  // The entry field's text (newname_edt), CP932.
  virtual void set_text(const std::string& text) = 0;
  virtual std::string text() const = 0;
  // Shows the dialog modally: true for OK (which comes only with a non-empty text), false for
  // Cancel, Escape or the close box.
  virtual bool show_modal() = 0;
};

}  // namespace zorvek
