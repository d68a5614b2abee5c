// Zorvek: switches the desktop from one working set of programs to another in one stroke.
#include <QApplication>
#include <QFile>
#include <QFont>
#include <QSessionManager>

#include "Main.h"
#include "editor/command.h"
#include "platform/qt/qt_prompts.h"

namespace {

// Stand-in until the desktop's windows can be listed.
class NoWindows : public zorvek::WindowSystem {
 public:
  std::vector<zorvek::TopLevelWindow> top_level_windows() override { return {}; }
  void request_close(zorvek::WindowId) override {}
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zorvek"));
  QFont font(QStringList{QStringLiteral("MS PGothic"), QString::fromUtf8("ＭＳ Ｐゴシック"),
                         QStringLiteral("Noto Sans CJK JP")});
  font.setPixelSize(12);
  QApplication::setFont(font);

  zorvek::QtPrompts prompts(nullptr);
  zorvek::run_command(prompts, [&] {
    NoWindows windows;
    const std::filesystem::path executable =
        QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
    zorvek::Tmain_frm main_frm(windows, executable);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &main_frm,
                     [&](QSessionManager&) { main_frm.controller().end_of_session(); });
    main_frm.show();
    QApplication::exec();
    main_frm.FormDestroy();
  });
  return 0;
}
