// Label over a QLabel.
#pragma once

#include <QLabel>

#include "platform/label.h"
#include "platform/qt/qt_text.h"

namespace zorvek {

class QtLabel : public Label {
 public:
  explicit QtLabel(QLabel* label) : label_(label) {}
  std::string text() const override { return from_qstring(label_->text()); }
  void set_text(const std::string& text) override { label_->setText(to_qstring(text)); }

 private:
  QLabel* label_;
};

}  // namespace zorvek
