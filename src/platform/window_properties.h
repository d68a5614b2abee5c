// The main window's properties that the window settings keep between runs.
#pragma once

namespace zorvek {

enum class WindowProperty {
  log_checked,  // check mark of "ログを保存する" (1 or 0)
  form_width,   // main window
  form_height,
  active_height,  // launch-list group
  kill_height,    // kill group
  split_top,      // splitter, from the top of the client area
};

class WindowProperties {
 public:
  virtual ~WindowProperties() = default;
  virtual int property(WindowProperty p) const = 0;
  // Applies the value unchanged; the window's own layout rules may then adjust the others.
  virtual void set_property(WindowProperty p, int value) = 0;
};

}  // namespace zorvek
