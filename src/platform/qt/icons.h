// The program's images: image 0 is the program's own icon (window, tray, version dialog); the
// others mark the commands.
#pragma once

#include <QIcon>

namespace zorvek {

enum class Image {
  program = 0,
  edit = 1,
  launch = 2,
  sort = 3,
  refresh = 4,
  remove = 5,
  close_window = 6,
  save = 7,
  create = 8,
  search = 9,
  search_next = 10,
  help = 11,
};

QIcon image(Image which);
// The program's icon at the size of a tray icon only: cheap enough for start-up.
QIcon tray_image();

}  // namespace zorvek
