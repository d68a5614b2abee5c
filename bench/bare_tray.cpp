// The least a Qt Widgets program can do to sit in the notification area: an application and one
// tray icon, nothing else. tray_startup_bench measures Zorvek's start-up and idle memory against
// this program, built with the same compiler, flags and Qt.
#include <QApplication>
#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QPixmap pixmap(22, 22);
  pixmap.fill(QColor(0x2e, 0x7d, 0xd2));
  QSystemTrayIcon icon{QIcon(pixmap)};
  icon.show();
  return QApplication::exec();
}
