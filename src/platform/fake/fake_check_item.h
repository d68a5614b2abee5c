// A menu item's check mark for logic tests.
#pragma once

#include "platform/check_item.h"

namespace zorvek {

class FakeCheckItem : public CheckItem {
 public:
  explicit FakeCheckItem(bool checked = false) : checked_(checked) {}
  bool checked() const override { return checked_; }
  void set_checked(bool on) override { checked_ = on; }

 private:
  bool checked_;
};

}  // namespace zorvek
