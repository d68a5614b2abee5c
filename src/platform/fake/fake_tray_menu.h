// An in-memory tray menu for logic tests: the five fixed items, then the environment items.
#pragma once

#include <string>
#include <vector>

#include "platform/tray_menu.h"

namespace zorvek {

class FakeTrayMenu : public TrayMenu {
 public:
  struct Item {
    std::string name;  // "kankyou_pop" + tag for an environment item
    std::string caption;
    int tag;
    bool operator==(const Item&) const = default;
  };

  FakeTrayMenu()
      : items_{{"settei_pop", "", 0},
               {"version_pop", "", 0},
               {"Help3", "", 0},
               {"end_pop", "", 0},
               {"N2", "", 0}} {}

  int count() const override { return static_cast<int>(items_.size()); }
  void remove(int position) override { items_.erase(items_.begin() + position); }
  void append_environment(const std::string& name, int tag) override {
    items_.push_back({"kankyou_pop" + std::to_string(tag), name, tag});
  }

  // The environment items.
  std::vector<Item> environments() const { return {items_.begin() + 5, items_.end()}; }
  const std::vector<Item>& items() const { return items_; }

 private:
  std::vector<Item> items_;
};

}  // namespace zorvek
