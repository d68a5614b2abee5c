#include "Main.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "dialogs/get_name_dlg.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_window_system.h"
#include "platform/qt/title_drag.h"
#include "store/environment_store.h"
#include "support/temp_dir.h"

// Readable failures for Qt's strings.
void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace zorvek {
namespace {

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

QStringList captions(const QMenu* menu) {
  QStringList out;
  for (QAction* a : menu->actions()) out << (a->isSeparator() ? "-" : a->text());
  return out;
}

QMenu* menu_named(QMainWindow& w, const QString& title) {
  for (QAction* a : w.menuBar()->actions()) {
    if (a->text() == title) return a->menu();
  }
  return nullptr;
}

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    windows.add(1, "Terminal");
    windows.add(2, "Editor - notes.txt");
  }
  // Offscreen there is no notification area: the window offers the tray menu itself.
  std::unique_ptr<Tmain_frm> make() {
    return std::make_unique<Tmain_frm>(Desktop{windows, shell, clock}, dir / "zorvek", false);
  }

  testing::TempDir dir;
  FakeWindowSystem windows;
  FakeShell shell;
  FakeClock clock{2026, 12, 11, 10, 0, 0};
};

TEST_F(MainWindowTest, FirstStartShowsTheSampleInTheDesignedWindow) {
  auto frm = make();
  Tmain_frm& w = *frm;
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
  w.show();
  EXPECT_EQ(w.findChild<QGroupBox*>("kill_gbx")->title(), ja("終了プロセス選択"));
  EXPECT_EQ(w.findChild<QGroupBox*>("active_gbx")->title(), ja("起動プロセス一覧"));
}

TEST_F(MainWindowTest, TheMenusHoldTheirCommandsInOrder) {
  testing::write_file(dir / "joutai.INI", "[one]\r\n[two & more]\r\n");
  auto frm = make();
  Tmain_frm& w = *frm;
  ASSERT_TRUE(menu_named(w, ja("ファイル(&F)")) && menu_named(w, ja("設定")) &&
              menu_named(w, ja("ヘルプ(&H)")) && menu_named(w, ja("環境切替(&K)")));
  EXPECT_EQ(captions(menu_named(w, ja("ファイル(&F)"))),
            (QStringList{ja("閉じる(&C)"), "-", ja("終了(&E)")}));
  EXPECT_EQ(captions(menu_named(w, ja("編集"))),
            (QStringList{ja("検索"), ja("次候補検索"), "-", ja("起動プロセス編集"), "-",
                         ja("終了プロセス修正")}));
  EXPECT_EQ(captions(menu_named(w, ja("設定"))),
            (QStringList{ja("環境作成"), ja("環境名の変更"), ja("環境に名前を付けて保存"),
                         ja("環境の保存"), ja("環境削除"), "-", ja("ログを保存する")}));
  EXPECT_EQ(
      captions(w.findChild<QMenu*>("itiran_pop")),
      (QStringList{ja("プロセス終了"), "-", ja("検索"), ja("次候補検索"), "-", ja("リスト更新")}));
  EXPECT_EQ(captions(w.findChild<QMenu*>("kill_lst_pop")),
            (QStringList{ja("プロセス終了"), ja("並び替え"), ja("編集"), "-", ja("削除")}));
  EXPECT_EQ(captions(w.findChild<QMenu*>("active_lst_pop")),
            (QStringList{ja("起動"), ja("並び替え"), ja("編集"), "-", ja("削除")}));
  EXPECT_EQ(captions(w.findChild<QMenu*>("kankyou_pop")),
            (QStringList{ja("環境作成"), ja("環境名の変更"), ja("環境に名前を付けて保存"),
                         ja("環境の保存"), ja("環境削除")}));
  EXPECT_EQ(captions(menu_named(w, ja("ヘルプ(&H)"))),
            (QStringList{ja("バージョン情報(&V)"), ja("ヘルプ")}));
  EXPECT_EQ(captions(menu_named(w, ja("環境切替(&K)"))),
            (QStringList{ja("設定"), ja("バージョン情報(&V)"), ja("ヘルプ"), ja("バイバイ"), "-",
                         "one", "two && more"}));
  EXPECT_NE(w.findChild<QAction*>("kankyou_pop1"), nullptr);
}

TEST_F(MainWindowTest, TheVersionDialogShowsTheBuildsVersionAndClosesOnEscAndF1) {
  auto frm = make();
  TAbout_dlg& about = frm->about_dialog();
  EXPECT_EQ(about.windowTitle(), ja("バージョン情報"));
  EXPECT_EQ(about.version(), "1.514");
  for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_F1}) {
    about.show();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(about.findChild<QPushButton*>("OKButton"), &press);
    EXPECT_FALSE(about.isVisible()) << key;
  }
}

TEST_F(MainWindowTest, ATrayItemSwitchesEnvironments) {
  testing::write_file(dir / "joutai.INI",
                      "[one]\r\nexe0=/one.txt\r\n[two]\r\nkill0=Editor\r\nexe0=/two.txt\r\n");
  auto frm = make();
  frm->findChild<QAction*>("kankyou_pop1")->trigger();
  EXPECT_EQ(windows.close_requests(), std::vector<WindowId>{2});
  ASSERT_EQ(shell.calls().size(), 1u);
  EXPECT_EQ(shell.calls()[0].file, "/two.txt");
  EXPECT_EQ(frm->findChild<QComboBox*>("kankyou_cmb")->currentText(), "two");
}

TEST_F(MainWindowTest, ClosingTheWindowNeverClosesIt) {
  auto frm = make();
  Tmain_frm& w = *frm;
  w.show();
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, AddingATitleMarksTheEnvironmentChanged) {
  auto frm = make();
  Tmain_frm& w = *frm;
  auto* open = w.findChild<QListWidget*>("handle_lst");
  open->item(1)->setSelected(true);
  w.findChild<QToolButton*>("kill_sbtn")->click();
  EXPECT_EQ(items(w.findChild<QListWidget*>("kill_lst")), QStringList{"Terminal"});
  EXPECT_TRUE(w.controller().edited().changed_flg());
}

TEST_F(MainWindowTest, WindowSettingsComeBackAtTheNextStart) {
  {
    auto frm = make();
    Tmain_frm& first = *frm;
    first.resize(800, 600);
    first.FormDestroy();
  }
  IniFile ini(dir / "joutai.INI");
  EXPECT_EQ(ini.read_integer(kSystemSection, "form_width", 0), 800);
  EXPECT_EQ(ini.read_integer(kSystemSection, "form_height", 0), 600);
  EXPECT_EQ(ini.read_integer(kSystemSection, "kill_height", 0), 259);
  ini.write_integer(kSystemSection, "kill_height", 300);

  auto frm = make();
  Tmain_frm& second = *frm;
  second.show();
  EXPECT_EQ(second.width(), 800);
  EXPECT_EQ(second.height(), 600);
  EXPECT_EQ(second.findChild<QGroupBox*>("kill_gbx")->height(), 300);
}

QListWidgetItem* item_named(QListWidget* list, const QString& text) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.first();
}

// Sends a whole drag (enter, move, drop) of data to widget; returns whether the drop was taken.
bool drop_on(QWidget* widget, QMimeData* data) {
  const QPointF at(5, 5);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                        Qt::NoModifier);
  QApplication::sendEvent(widget, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &drop);
  // Offered for a move too, a drop is only ever taken as a copy: the source keeps its file.
  if (drop.isAccepted()) {
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
  }
  return drop.isAccepted();
}

QMimeData* files(const QStringList& paths) {
  auto* data = new QMimeData;
  QList<QUrl> urls;
  for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
  data->setUrls(urls);
  return data;
}

TEST_F(MainWindowTest, TitlesDraggedFromTheOpenWindowListJoinTheKillList) {
  auto frm = make();
  auto* open = frm->findChild<TitleDragList*>("handle_lst");
  auto* kill = frm->findChild<QListWidget*>("kill_lst");
  item_named(open, "Terminal")->setSelected(true);

  std::unique_ptr<QMimeData> from_elsewhere(new QMimeData);
  from_elsewhere->setText("Terminal");
  EXPECT_FALSE(drop_on(kill->viewport(), from_elsewhere.get()));
  EXPECT_EQ(kill->count(), 0);

  std::unique_ptr<QMimeData> titles(open->drag_data());
  EXPECT_TRUE(drop_on(kill->viewport(), titles.get()));
  EXPECT_EQ(items(kill), QStringList{"Terminal"});
  EXPECT_TRUE(frm->controller().edited().changed_flg());
}

TEST_F(MainWindowTest, FilesDroppedAnywhereJoinTheLaunchList) {
  auto frm = make();
  auto* kill = frm->findChild<QListWidget*>("kill_lst");
  auto* launch = frm->findChild<QListWidget*>("active_lst");
  std::unique_ptr<QMimeData> on_kill(files({"/tmp/b c.txt", ja("/tmp/資料.odt")}));
  EXPECT_TRUE(drop_on(kill->viewport(), on_kill.get()));
  std::unique_ptr<QMimeData> on_window(files({"/usr/bin"}));
  EXPECT_TRUE(drop_on(frm.get(), on_window.get()));
  QCoreApplication::processEvents();  // the files are taken once the drop is through
  EXPECT_EQ(items(launch),
            (QStringList{"./Readme.txt", "/tmp/b c.txt", ja("/tmp/資料.odt"), "/usr/bin"}));
  EXPECT_EQ(kill->count(), 0);
  EXPECT_TRUE(frm->controller().edited().changed_flg());
}

TEST_F(MainWindowTest, ADoubleClickEditsTheEntryInTheNameDialog) {
  auto frm = make();
  auto* launch = frm->findChild<QListWidget*>("active_lst");
  launch->item(0)->setSelected(true);
  QString caption;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<Tget_name_dlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    caption = dialog->windowTitle();
    dialog->findChild<QLineEdit*>("newname_edt")->setText("/etc/hosts");
    dialog->findChild<QPushButton*>("OKBtn")->click();
  });
  emit launch->itemDoubleClicked(launch->item(0));
  EXPECT_EQ(caption, ja("起動プロセス編集"));
  EXPECT_EQ(items(launch), QStringList{"/etc/hosts"});
  EXPECT_TRUE(frm->controller().edited().changed_flg());
}

TEST(NameDialog, OkIsOnlyPossibleWithSomeText) {
  Tget_name_dlg dialog;
  dialog.set_text("kept until shown");
  EXPECT_EQ(dialog.text(), "kept until shown");
  dialog.set_text("");
  dialog.show();
  auto* edit = dialog.findChild<QLineEdit*>("newname_edt");
  auto* ok = dialog.findChild<QPushButton*>("OKBtn");
  EXPECT_FALSE(ok->isEnabled());
  dialog.set_text("start");
  EXPECT_TRUE(ok->isEnabled());
  EXPECT_EQ(edit->text(), "start");
  edit->clear();
  EXPECT_FALSE(ok->isEnabled());
  QTest::keyClicks(edit, "x");
  EXPECT_TRUE(ok->isEnabled());
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_EQ(dialog.findChild<QPushButton*>("CancelBtn")->text(), ja("キャンセル"));
}

}  // namespace
}  // namespace zorvek

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zorvek"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
