// The tray icon's menu: five fixed items ("設定", "バージョン情報(&V)", "ヘルプ", "バイバイ", a
// separator), then one item per environment.
#pragma once

#include <string>

namespace zorvek {

class TrayMenu {
 public:
  virtual ~TrayMenu() = default;
  // Number of items, the fixed ones included.
  virtual int count() const = 0;
  // Removes and destroys the item at position (from 0).
  virtual void remove(int position) = 0;
  // Appends an environment item named "kankyou_pop" + tag, captioned name (CP932), which
  // switches to the selector's entry tag when clicked.
  virtual void append_environment(const std::string& name, int tag) = 0;
};

}  // namespace zorvek
