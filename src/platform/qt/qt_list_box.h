// ListBox over a QListWidget. Each item keeps its CP932 bytes, so a line reads back exactly as it
// was added whatever the display makes of it.
#pragma once

#include <QListWidget>

#include "platform/list_box.h"

namespace zorvek {

class QtListBox : public ListBox {
 public:
  QtListBox(QListWidget* widget, bool sorted) : widget_(widget), sorted_(sorted) {}

  int count() const override;
  std::string line(int i) const override;
  void insert(int i, const std::string& text) override;
  void remove(int i) override;
  void replace(int i, const std::string& text) override;
  void clear() override;
  bool selected(int i) const override;
  void set_selected(int i, bool on) override;
  int current() const override;
  void set_current(int i) override;
  bool sorted() const override { return sorted_; }

  QListWidget* widget() const { return widget_; }

 private:
  QListWidget* widget_;
  bool sorted_;
};

}  // namespace zorvek
