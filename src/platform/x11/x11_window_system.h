// The desktop's top-level windows on X11, through xcb.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace zorvek {

// A top-level window here is the client window a program created as a child of the root:
//   - a window the window manager manages (in _NET_CLIENT_LIST, or carrying WM_STATE), listed at
//     the stacking place of its frame, never the frame itself;
//   - any other direct child of the root that could be shown, that is an InputOutput window that
//     is not override-redirect: windows never mapped, windows their program has hidden
//     (withdrawn), and every window on a desktop without a window manager.
// Override-redirect windows (menus, tooltips, drag icons) and InputOnly helper windows are never
// top-level windows: no one can see them as a window of a program. The root is not listed.
class X11WindowSystem : public WindowSystem {
 public:
  // The longest request_close waits for the window to go after asking it. A program that takes
  // the request destroys or hides its window within a few milliseconds; one that asks its user
  // something first, or ignores the request, would otherwise hold the whole switch. Half a second
  // lets a busy program answer and keeps a switch of many such entries bearable.
  static constexpr std::chrono::milliseconds kCloseWait{500};

  // Connects on first use to display, or to $DISPLAY when it is empty.
  explicit X11WindowSystem(std::string display = {});
  ~X11WindowSystem() override;
  X11WindowSystem(const X11WindowSystem&) = delete;
  X11WindowSystem& operator=(const X11WindowSystem&) = delete;

  // Titles are read from _NET_WM_NAME, else WM_NAME, and come as CP932 cut to kMaxTitleBytes.
  std::vector<TopLevelWindow> top_level_windows() override;

  // Sends WM_DELETE_WINDOW when the window takes it, else asks the window manager to close it
  // (_NET_CLOSE_WINDOW), then waits up to kCloseWait for the window to be destroyed or unmapped.
  void request_close(WindowId id) override;

 private:
  struct Connection;
  Connection* connection();

  std::string display_;
  bool tried_ = false;
  std::unique_ptr<Connection> x_;
};

}  // namespace zorvek
