// Tmain_frm: the main window, the editor of environments. A thin view: it builds the widgets and
// the menus, lays them out, and hands every event to MainController.
#pragma once

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QToolButton>
#include <filesystem>
#include <memory>

#include "editor/main_controller.h"
#include "platform/qt/qt_list_box.h"
#include "platform/qt/qt_prompts.h"
#include "platform/qt/qt_selector.h"

namespace zorvek {

class QtLabel : public Label {
 public:
  explicit QtLabel(QLabel* label) : label_(label) {}
  std::string text() const override;
  void set_text(const std::string& text) override;

 private:
  QLabel* label_;
};

class Tmain_frm : public QMainWindow, private WindowProperties, private AppControl {
  Q_OBJECT

 public:
  // Runs the start-up sequence; joutai.INI lies beside executable.
  Tmain_frm(WindowSystem& windows, const std::filesystem::path& executable);
  ~Tmain_frm() override;

  MainController& controller() { return *controller_; }
  // The program is ending: stores the window settings.
  void FormDestroy();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build_widgets();
  void build_menus();
  void layout_children();
  int client_height() const;
  void splitter1CanResize();

  // WindowProperties
  int property(WindowProperty p) const override;
  void set_property(WindowProperty p, int value) override;
  // AppControl
  void minimize_main_window() override;
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
  QAction* close_mnu = nullptr;
  QAction* end_mnu = nullptr;
  QAction* flg_log_mnu = nullptr;

  // Height of kill_gbx: the splitter and the launch-list group above it follow from it.
  int kill_height_ = 259;
  // Extra room this style's group box captions take above the designed positions.
  int active_drop_ = 0;
  int kill_drop_ = 0;
  bool centred_ = false;
  int drag_offset_ = -1;

  std::unique_ptr<QtListBox> handle_box_;
  std::unique_ptr<QtListBox> kill_box_;
  std::unique_ptr<QtListBox> active_box_;
  std::unique_ptr<QtSelector> selector_;
  std::unique_ptr<QtLabel> count_label_;
  std::unique_ptr<QtPrompts> prompts_;
  std::unique_ptr<MainController> controller_;
};

}  // namespace zorvek
