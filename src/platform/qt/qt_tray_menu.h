// TrayMenu over the QMenu of the tray icon.
#pragma once

#include <QMenu>
#include <functional>

#include "platform/tray_menu.h"

namespace zorvek {

class QtTrayMenu : public TrayMenu {
 public:
  // on_environment(tag) runs when an environment item is clicked.
  QtTrayMenu(QMenu* menu, std::function<void(int)> on_environment)
      : menu_(menu), on_environment_(std::move(on_environment)) {}

  int count() const override;
  void remove(int position) override;
  void append_environment(const std::string& name, int tag) override;

 private:
  QMenu* menu_;
  std::function<void(int)> on_environment_;
};

}  // namespace zorvek
