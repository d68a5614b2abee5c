// The main window's behaviour without its widgets: start-up, closing, ending the program and the
// end of the desktop session. The GUI forwards its events here; every handler runs as a command,
// so an error is shown and ends only that handler.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/app_control.h"
#include "platform/label.h"
#include "platform/list_box.h"
#include "platform/prompts.h"
#include "platform/selector.h"
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
  WindowProperties& properties;
  Prompts& prompts;
  AppControl& app;
};

class MainController {
 public:
  // executable: the program's own full path; joutai.INI lies beside it.
  MainController(const MainView& view, WindowSystem& windows,
                 const std::filesystem::path& executable);

  // The start-up sequence; an error ends it where it happened, and what was done stays.
  void form_create();
  // The close box, "閉じる(&C)" and any close request: the save question, then the window goes
  // away; it is never closed.
  void form_close_query();
  // "終了(&E)", "バイバイ": the save question; unless cancelled, the program ends.
  void end_pop_click();
  // The desktop session is ending. Returns whether it may end (always).
  bool end_of_session();
  // The program is ending: store the window settings.
  void form_destroy();
  // The user chose another environment from the selector's list.
  void kankyou_cmb_change();
  // The user typed in the selector's text: the save question, then the selector's current entry
  // is loaded again; the typed text stays.
  void kankyou_cmb_typed();

  // Whether the main window is to stay on screen at its first paint (first run).
  bool hide_done_flg() const { return hide_done_flg_; }
  EditedEnvironment& edited() { return edited_; }
  IniFile& joutai_ini() { return joutai_ini_; }

 private:
  void command(const std::function<void()>& body);

  MainView view_;
  WindowSystem& windows_;
  IniFile joutai_ini_;
  EditedEnvironment edited_;
  bool hide_done_flg_ = false;
};

}  // namespace zorvek
