// Tmain_frm: the main window, the editor of environments, with the tray icon and its menu. A thin
// view: it builds the widgets, the actions and the menus, lays them out, and hands every event to
// MainController.
#pragma once

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "dialogs/about_dlg.h"
#include "dialogs/get_name_dlg.h"
#include "editor/main_controller.h"
#include "platform/qt/icons.h"
#include "platform/qt/qt_check_item.h"
#include "platform/qt/qt_label.h"
#include "platform/qt/qt_list_box.h"
#include "platform/qt/qt_prompts.h"
#include "platform/qt/qt_selector.h"
#include "platform/qt/qt_tray_menu.h"

namespace zorvek {

class Tmain_frm : public QMainWindow, private WindowProperties, private AppControl {
  Q_OBJECT

 public:
  // Runs the start-up sequence; joutai.INI lies beside executable. With use_tray false the
  // program keeps no tray icon (the desktop has no notification area) and the tray menu's items
  // are offered in the main window instead.
  Tmain_frm(const Desktop& desktop, const std::filesystem::path& executable, bool use_tray);
  ~Tmain_frm() override;

  MainController& controller() { return *controller_; }
  QSystemTrayIcon* tray_icon() const { return TrayIcon1; }
  TAbout_dlg& about_dialog() { return *About_dlg; }
  // Whether the window is to be shown after start-up.
  bool starts_shown() const;
  // The program is ending: stores the window settings.
  void FormDestroy();
  void setVisible(bool visible) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QAction* make_action(const char* name, const QString& caption, std::optional<Image> picture,
                       std::function<void()> execute);
  // A popup menu of actions; nullptr stands for a separator.
  QMenu* make_popup(const char* name, std::initializer_list<QAction*> items);
  void attach_popup(QWidget* widget, QMenu* menu);
  void build_widgets();
  void build_actions();
  void build_menus();
  void build_tray(bool use_tray);
  void layout_children();
  // Icons, text sizes and the layout, done when first needed rather than at start-up.
  void load_pictures();
  void decorate();
  // A drag over the kill list: titles from the open-window list, and files for the launch list.
  bool kill_lst_drag(QEvent* event);
  static void accept_copy(QDropEvent* event);
  // Accepts a drop of files and adds them to the launch list once the drop is over.
  void take_files(QDropEvent* event);
  // The local files a drop carries, as the system names them, in the order given.
  static std::vector<std::string> dropped_files(const QMimeData* data);
  int client_height() const;
  void splitter1CanResize();

  // WindowProperties
  int property(WindowProperty p) const override;
  void set_property(WindowProperty p, int value) override;
  // AppControl
  bool tray_available() const override { return TrayIcon1 != nullptr; }
  void minimize_main_window() override;
  void show_main_window() override;
  void hide_main_window() override;
  void restore_main_window() override;
  void quit() override;

  QWidget* client_ = nullptr;
  QWidget* Panel1 = nullptr;
  QLabel* Label1 = nullptr;
  QComboBox* kankyou_cmb = nullptr;
  QGroupBox* active_gbx = nullptr;
  QListWidget* active_lst = nullptr;
  QWidget* splitter1 = nullptr;
  QGroupBox* kill_gbx = nullptr;
  QLabel* handle_lbl = nullptr;
  QLabel* line_lbl = nullptr;
  QLabel* count_lbl = nullptr;
  QListWidget* handle_lst = nullptr;
  QToolButton* kill_sbtn = nullptr;
  QLabel* kill_lbl = nullptr;
  QListWidget* kill_lst = nullptr;

  // Commands, each shown wherever the menus point at it.
  QAction* kill_kidou_act = nullptr;
  QAction* search_kidou_act = nullptr;
  QAction* next_kidou_act = nullptr;
  QAction* update_list_act = nullptr;
  QAction* kill_kill_act = nullptr;
  QAction* sort_kill_act = nullptr;
  QAction* edit_kill_lst = nullptr;
  QAction* delete_kill_act = nullptr;
  QAction* action_active_act = nullptr;
  QAction* sort_active_act = nullptr;
  QAction* edit_active_act = nullptr;
  QAction* delete_active_act = nullptr;
  QAction* make_kankyou_act = nullptr;
  QAction* change_kankyouname_act = nullptr;
  QAction* saveas_kankyou_act = nullptr;
  QAction* save_kankyou_act = nullptr;
  QAction* del_kankyou_act = nullptr;
  QAction* version_act = nullptr;
  QAction* help_act = nullptr;
  QAction* flg_log_mnu = nullptr;

  QMenu* itiran_pop = nullptr;
  QMenu* kill_lst_pop = nullptr;
  QMenu* active_lst_pop = nullptr;
  QMenu* kankyou_pop = nullptr;
  QMenu* tray_pop = nullptr;
  QSystemTrayIcon* TrayIcon1 = nullptr;

  // Height of kill_gbx: the splitter and the launch-list group above it follow from it.
  int kill_height_ = 259;
  // Extra room this style's group box captions take above the designed positions.
  int active_drop_ = 0;
  int kill_drop_ = 0;
  bool centred_ = false;
  bool decorated_ = false;
  bool pictures_loaded_ = false;
  std::vector<std::pair<QAction*, Image>> pictures_;
  int drag_offset_ = -1;

  std::unique_ptr<QtListBox> handle_box_;
  std::unique_ptr<QtListBox> kill_box_;
  std::unique_ptr<QtListBox> active_box_;
  std::unique_ptr<QtSelector> selector_;
  std::unique_ptr<QtLabel> count_label_;
  std::unique_ptr<QtCheckItem> log_item_;
  std::unique_ptr<QtTrayMenu> tray_menu_;
  std::unique_ptr<QtPrompts> prompts_;
  std::unique_ptr<MainController> controller_;
  std::unique_ptr<Tget_name_dlg> get_name_dlg;
  std::unique_ptr<TAbout_dlg> About_dlg;
};

}  // namespace zorvek
