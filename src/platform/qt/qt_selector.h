// Selector over an editable QComboBox. Changes made through this class never reach the
// combo box's change handler.
#pragma once

#include <QComboBox>

#include "platform/selector.h"

namespace zorvek {

class QtSelector : public Selector {
 public:
  explicit QtSelector(QComboBox* widget) : widget_(widget) {}

  int count() const override;
  std::string line(int i) const override;
  void append(const std::string& text) override;
  void remove(int i) override;
  void clear() override;
  int current_index() const override;
  void set_current_index(int i) override;
  std::string text() const override;

 private:
  QComboBox* widget_;
};

}  // namespace zorvek
