// What the logic asks of the application as a whole.
#pragma once

namespace zorvek {

class AppControl {
 public:
  virtual ~AppControl() = default;
  // Sends the main window away as its minimize button would (to the tray where there is one).
  virtual void minimize_main_window() = 0;
  // Ends the event loop; the main window's settings are written on the way out.
  virtual void quit() = 0;
};

}  // namespace zorvek
