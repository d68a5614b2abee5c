// A label showing one text (CP932), such as count_lbl.
#pragma once

#include <string>

namespace zorvek {

class Label {
 public:
  virtual ~Label() = default;
  virtual std::string text() const = 0;
  virtual void set_text(const std::string& text) = 0;
};

}  // namespace zorvek
