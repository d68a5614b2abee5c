// The environment selector: an editable combo box whose list holds the environment names (CP932).
#pragma once

#include <string>

namespace zorvek {

class Selector {
 public:
  virtual ~Selector() = default;

  virtual int count() const = 0;
  virtual std::string line(int i) const = 0;
  virtual void append(const std::string& text) = 0;
  virtual void remove(int i) = 0;
  virtual void clear() = 0;
  // Index of the current entry, or -1 for none.
  virtual int current_index() const = 0;
  // Sets the current entry (-1: none, and an empty text) without running the change handler.
  virtual void set_current_index(int i) = 0;
  // The text shown in the edit field (typed or of the current entry).
  virtual std::string text() const = 0;
};

// Index of the first entry equal to name with letter case ignored, or -1.
int find_exact(const Selector& selector, const std::string& name);

}  // namespace zorvek
