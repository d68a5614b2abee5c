// A list of CP932 lines with several selected lines and one current line: the open-window list,
// the kill list and the launch list. The GUI wraps a real list widget; tests use FakeListBox.
#pragma once

#include <string>

namespace zorvek {

class ListBox {
 public:
  virtual ~ListBox() = default;

  virtual int count() const = 0;
  // Line i (0 <= i < count()).
  virtual std::string line(int i) const = 0;
  // Inserts a line before index i (i == count() appends). The selection of other lines is kept.
  virtual void insert(int i, const std::string& text) = 0;
  virtual void remove(int i) = 0;
  // Replaces the text of line i where it stands.
  virtual void replace(int i, const std::string& text) = 0;
  // Removes every line, and with them the selection.
  virtual void clear() = 0;
  virtual bool selected(int i) const = 0;
  // Selects or deselects line i without raising the list's click event; selecting also makes it
  // the current line, scrolled into view.
  virtual void set_selected(int i, bool on) = 0;
  // The line with the keyboard focus, or -1.
  virtual int current() const = 0;
  // Makes line i current and scrolls it into view; the selection does not change.
  virtual void set_current(int i) = 0;
  // Whether add() keeps the lines in order.
  virtual bool sorted() const = 0;

  // Adds a line: at its place in case-ignoring order in a sorted list, else at the end.
  // Returns the index it got.
  int add(const std::string& text);
  // Index of the first line equal to text with letter case ignored, or -1.
  int find_ignore_case(const std::string& text) const;
  // Sorts the lines once, in case-ignoring order; afterwards no line is selected.
  void sort_once();
};

}  // namespace zorvek
