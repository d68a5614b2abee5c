// The main window's behaviour without its widgets: start-up, the tray and the main window's
// visibility, the one-stroke switch, the editing commands, closing, ending the program and the end
// of the desktop session. The GUI forwards its events here; every handler runs as a command, so an
// error is shown and ends only that handler.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "editor/environment_commands.h"
#include "platform/app_control.h"
#include "platform/check_item.h"
#include "platform/clock.h"
#include "platform/label.h"
#include "platform/list_box.h"
#include "platform/name_dialog.h"
#include "platform/prompts.h"
#include "platform/selector.h"
#include "platform/shell.h"
#include "platform/tray_menu.h"
#include "platform/window_properties.h"
#include "platform/window_system.h"
#include "store/edited_environment.h"
#include "store/ini_file.h"

namespace zorvek {

// The parts of the main window the logic works on.
struct MainView {
  ListBox& handle_lst;
  ListBox& kill_lst;
  ListBox& active_lst;
  Selector& kankyou_cmb;
  Label& count_lbl;
  CheckItem& flg_log_mnu;
  TrayMenu& tray_pop;
  NameDialog& get_name_dlg;
  WindowProperties& properties;
  Prompts& prompts;
  AppControl& app;
};

// What the program acts on outside itself.
struct Desktop {
  WindowSystem& windows;
  Shell& shell;
  Clock& clock;
};

class MainController {
 public:
  // executable: the program's own full path; joutai.INI lies beside it.
  MainController(const MainView& view, const Desktop& desktop,
                 const std::filesystem::path& executable);
  // The edited environment calls back into this object to save under a new name.
  MainController(const MainController&) = delete;
  MainController& operator=(const MainController&) = delete;

  // The start-up sequence; an error ends it where it happened, and what was done stays.
  void form_create();
  // The close box, "閉じる(&C)" and any close request: the save question, then the window goes
  // to the tray; it is never closed.
  void form_close_query();
  // "終了(&E)", "バイバイ": the save question; unless cancelled, the program ends.
  void end_pop_click();
  // The desktop session is ending. Returns whether it may end (always).
  bool end_of_session();
  // The program is ending: store the window settings and drop the tray's environment items.
  void form_destroy();

  // The user chose another environment from the selector's list.
  void kankyou_cmb_change();
  // The user typed in the selector's text: the save question, then the selector's current entry
  // is loaded again; the typed text stays.
  void kankyou_cmb_typed();

  // A tray environment item: the one-stroke switch. A second switch cannot start while one waits
  // on a message box.
  void switch_kankyou(int tag);
  // Rebuilds the tray's environment items from the selector.
  void make_kankyou_items();

  // "リスト更新": the open-window list read afresh.
  void get_list_btnClick();
  // The user changed the open-window list's selection: count_lbl shows the number (from 1) of
  // the lowest selected line.
  void handle_lstClick();

  // The main window has gone to the tray (minimize button or close).
  void tray_icon_minimize();
  // A double-click on the tray icon.
  void tray_icon_restore();
  // "設定" in the tray menu.
  void settei_pop_click();
  // "ヘルプ".
  void help_click();

  // The environment commands: "環境作成", "環境名の変更", "環境に名前を付けて保存", "環境の保存",
  // "環境削除".
  void make_kankyou_click();
  void change_kankyouname();
  void saveas_kankyou();
  void save_kankyou();
  void delete_kankyou();

  // The kill list: the add button and a drop from the open-window list (the GUI accepts only
  // drags that kill_lstDragOver allows), "削除", "並び替え", "編集" (also a double-click),
  // "プロセス終了" on the kill list and "プロセス終了" on the open-window list.
  void add_titles();
  void delete_kill();
  void sort_kill();
  void edit_kill();
  void kill_process();
  void kill_kidou();

  // Files dropped anywhere on the main window, as the system names them (UTF-8), in the order
  // given.
  void drop_files(const std::vector<std::string>& utf8_paths);
  // The launch list: "起動", "並び替え", "編集" (also a double-click), "削除".
  void action_active();
  void sort_active();
  void edit_active();
  void delete_active();

  // "検索" and "次候補検索" in the open-window list.
  void search();
  void next_search();

  // Whether the main window is to stay on screen after start-up (first run).
  bool hide_done_flg() const { return hide_done_flg_; }
  EditedEnvironment& edited() { return edited_; }
  IniFile& joutai_ini() { return joutai_ini_; }
  Prompts& prompts() { return view_.prompts; }

 private:
  void command(const std::function<void()>& body);
  EnvironmentParts environment_parts();

  MainView view_;
  Desktop desktop_;
  IniFile joutai_ini_;
  EditedEnvironment edited_;
  bool hide_done_flg_ = false;
  bool switching_ = false;
};

}  // namespace zorvek
