// What the logic asks of the application as a whole and of its main window's visibility.
#pragma once

namespace zorvek {

class AppControl {
 public:
  virtual ~AppControl() = default;
  // Whether the desktop has a notification area for the tray icon.
  virtual bool tray_available() const = 0;
  // The main window's minimize button: to the tray where there is one, else an ordinary minimize.
  virtual void minimize_main_window() = 0;
  virtual void show_main_window() = 0;
  virtual void hide_main_window() = 0;
  // Un-minimizes the main window and brings it to the front.
  virtual void restore_main_window() = 0;
  // Ends the event loop; the main window's settings are written on the way out.
  virtual void quit() = 0;
};

}  // namespace zorvek
