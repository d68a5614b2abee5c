// An in-memory desktop for logic tests: scripted windows, and a record of the close requests.
#pragma once

#include <string>
#include <vector>

#include "platform/window_system.h"

namespace zorvek {

class FakeWindowSystem : public WindowSystem {
 public:
  // Adds a window below those added before. A window that closes goes away when asked; one that
  // does not stays, as a program that refuses or asks its user first.
  void add(WindowId id, std::string title, bool closes = true);

  std::vector<TopLevelWindow> top_level_windows() override;
  void request_close(WindowId id) override;

  // Test helpers.
  const std::vector<WindowId>& close_requests() const { return close_requests_; }
  int enumerations() const { return enumerations_; }
  bool open(WindowId id) const;

 private:
  struct Window {
    TopLevelWindow window;
    bool closes;
  };
  std::vector<Window> windows_;  // top first
  std::vector<WindowId> close_requests_;
  int enumerations_ = 0;
};

}  // namespace zorvek
