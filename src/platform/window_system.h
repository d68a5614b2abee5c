// The desktop's top-level windows: what the open-window list shows and what closing by title acts
// on. On X11 these are the client windows of every program, mapped or not.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorvek {

using WindowId = std::uint64_t;

struct TopLevelWindow {
  WindowId id;
  std::string title;  // CP932, "?" for characters it cannot hold; may be empty
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // Every top-level window, top of the stacking order first. Empty when the desktop cannot be
  // reached.
  virtual std::vector<TopLevelWindow> top_level_windows() = 0;
  // Asks the window to close, as its close box would. A window that is gone already is ignored.
  virtual void request_close(WindowId id) = 0;
};

}  // namespace zorvek
