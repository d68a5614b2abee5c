#include "Main.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMenuBar>
#include <QToolButton>

#include "store/environment_store.h"
#include "support/temp_dir.h"

namespace zorvek {
namespace {

class NoWindows : public WindowSystem {
 public:
  std::vector<TopLevelWindow> top_level_windows() override {
    return {{1, "Terminal"}, {2, "Editor - notes.txt"}};
  }
  void request_close(WindowId) override {}
};

QString ja(const char* utf8) {
  return QString::fromUtf8(utf8);
}

template <typename T>
T* find_accessible(QWidget* root, const QString& name) {
  for (T* w : root->findChildren<T*>()) {
    if (w->accessibleName() == name) return w;
  }
  return nullptr;
}

QStringList items(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

class MainWindowTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  NoWindows windows;
};

TEST_F(MainWindowTest, FirstStartShowsTheSampleInTheDesignedWindow) {
  Tmain_frm w(windows, dir / "zorvek");
  EXPECT_EQ(w.windowTitle(), ja("Zorvek ( 環境設定 )"));
  EXPECT_EQ(w.width(), 641);
  EXPECT_EQ(w.height(), 565);

  auto* selector = find_accessible<QComboBox>(&w, ja("環境名"));
  auto* launch = find_accessible<QListWidget>(&w, ja("起動プロセス一覧"));
  auto* open = find_accessible<QListWidget>(&w, ja("起動 プロセス一覧"));
  auto* kill = find_accessible<QListWidget>(&w, ja("終了 プロセス一覧"));
  auto* add =
      find_accessible<QToolButton>(&w, ja("選択したプロセスを、終了プロセス一覧に追加します。"));
  ASSERT_TRUE(selector && launch && open && kill && add);

  EXPECT_EQ(selector->currentText(), ja("例"));
  EXPECT_EQ(items(launch), QStringList{"./Readme.txt"});
  EXPECT_EQ(items(open), (QStringList{"Editor - notes.txt", "Terminal"}));
  EXPECT_EQ(kill->count(), 0);
  EXPECT_EQ(w.findChild<QLabel*>("count_lbl")->text(), "1");
  EXPECT_EQ(w.findChild<QGroupBox*>("kill_gbx")->title(), ja("終了プロセス選択"));
}

TEST_F(MainWindowTest, TheFileMenuHoldsCloseAndExit) {
  Tmain_frm w(windows, dir / "zorvek");
  const QList<QAction*> menus = w.menuBar()->actions();
  ASSERT_FALSE(menus.isEmpty());
  EXPECT_EQ(menus[0]->text(), ja("ファイル(&F)"));
  QStringList captions;
  for (QAction* a : menus[0]->menu()->actions()) captions << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(captions, (QStringList{ja("閉じる(&C)"), "-", ja("終了(&E)")}));
}

TEST_F(MainWindowTest, ClosingTheWindowNeverClosesIt) {
  Tmain_frm w(windows, dir / "zorvek");
  w.show();
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, AddingATitleMarksTheEnvironmentChanged) {
  Tmain_frm w(windows, dir / "zorvek");
  auto* open = w.findChild<QListWidget*>("handle_lst");
  open->item(1)->setSelected(true);
  w.findChild<QToolButton*>("kill_sbtn")->click();
  EXPECT_EQ(items(w.findChild<QListWidget*>("kill_lst")), QStringList{"Terminal"});
  EXPECT_TRUE(w.controller().edited().changed_flg());
}

TEST_F(MainWindowTest, WindowSettingsComeBackAtTheNextStart) {
  {
    Tmain_frm first(windows, dir / "zorvek");
    first.resize(800, 600);
    first.FormDestroy();
  }
  IniFile ini(dir / "joutai.INI");
  EXPECT_EQ(ini.read_integer(kSystemSection, "form_width", 0), 800);
  EXPECT_EQ(ini.read_integer(kSystemSection, "form_height", 0), 600);
  EXPECT_EQ(ini.read_integer(kSystemSection, "kill_height", 0), 259);
  ini.write_integer(kSystemSection, "kill_height", 300);

  Tmain_frm second(windows, dir / "zorvek");
  EXPECT_EQ(second.width(), 800);
  EXPECT_EQ(second.height(), 600);
  EXPECT_EQ(second.findChild<QGroupBox*>("kill_gbx")->height(), 300);
}

}  // namespace
}  // namespace zorvek

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zorvek"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
