// A menu item with a check mark, such as "ログを保存する".
#pragma once

namespace zorvek {

class CheckItem {
 public:
  virtual ~CheckItem() = default;
  virtual bool checked() const = 0;
  virtual void set_checked(bool on) = 0;
};

}  // namespace zorvek
