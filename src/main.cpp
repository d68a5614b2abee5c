// Zorvek: switches the desktop from one working set of programs to another in one stroke.
#include <QApplication>
#include <QFile>
#include <QFont>
#include <QSessionManager>
#include <QSystemTrayIcon>

#include "Main.h"
#include "editor/command.h"
#include "platform/gio/gio_shell.h"
#include "platform/posix/system_clock.h"
#include "platform/qt/own_windows.h"
#include "platform/qt/qt_prompts.h"
#include "platform/x11/x11_window_system.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zorvek"));
  // Closing the last window only sends it to the tray; the exit commands end the program.
  QApplication::setQuitOnLastWindowClosed(false);
  QFont font(QStringList{QStringLiteral("MS PGothic"), QString::fromUtf8("ＭＳ Ｐゴシック"),
                         QStringLiteral("Noto Sans CJK JP")});
  font.setPixelSize(12);
  QApplication::setFont(font);

  zorvek::QtPrompts prompts(nullptr);
  zorvek::run_command(prompts, [&] {
    zorvek::X11WindowSystem x11;
    zorvek::OwnWindowsFirst windows(x11);
    zorvek::GioShell shell;
    zorvek::SystemClock clock;
    const std::filesystem::path executable =
        QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();

    zorvek::Tmain_frm main_frm(zorvek::Desktop{windows, shell, clock}, executable,
                               QSystemTrayIcon::isSystemTrayAvailable());
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &main_frm,
                     [&](QSessionManager&) { main_frm.controller().end_of_session(); });
    // On an ordinary start the program goes straight to the tray.
    if (main_frm.starts_shown()) main_frm.show();
    QApplication::exec();
    main_frm.FormDestroy();
  });
  return 0;
}
