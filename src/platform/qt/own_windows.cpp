#include "platform/qt/own_windows.h"

#include <QApplication>
#include <QWidget>

namespace zorvek {

std::vector<TopLevelWindow> OwnWindowsFirst::top_level_windows() {
  return desktop_.top_level_windows();
}

void OwnWindowsFirst::request_close(WindowId id) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->internalWinId() != 0 && static_cast<WindowId>(widget->internalWinId()) == id) {
      widget->close();
      return;
    }
  }
  desktop_.request_close(id);
}

}  // namespace zorvek
