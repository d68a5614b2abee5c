// CheckItem over a checkable QAction.
#pragma once

#include <QAction>

#include "platform/check_item.h"

namespace zorvek {

class QtCheckItem : public CheckItem {
 public:
  explicit QtCheckItem(QAction* action) : action_(action) {}
  bool checked() const override { return action_->isChecked(); }
  void set_checked(bool on) override { action_->setChecked(on); }

 private:
  QAction* action_;
};

}  // namespace zorvek
