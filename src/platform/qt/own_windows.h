// The desktop's windows as the program sees them: a close request that reaches one of this
// program's own windows is delivered at once, in-process, as it would be by a synchronous window
// message; every other window goes to the desktop's window system.
#pragma once

#include "platform/window_system.h"

namespace zorvek {

class OwnWindowsFirst : public WindowSystem {
 public:
  explicit OwnWindowsFirst(WindowSystem& desktop) : desktop_(desktop) {}

  std::vector<TopLevelWindow> top_level_windows() override;
  void request_close(WindowId id) override;

 private:
  WindowSystem& desktop_;
};

}  // namespace zorvek
