#include "editor/main_controller.h"

#include <string>

#include "dialogs/help.h"
#include "editor/command.h"
#include "editor/kill_list.h"
#include "editor/launch_list.h"
#include "editor/open_window_list.h"
#include "editor/window_search.h"
#include "store/environment_store.h"
#include "store/window_settings.h"
#include "switch/environment_switch.h"

namespace zorvek {

MainController::MainController(const MainView& view, const Desktop& desktop,
                               const std::filesystem::path& executable)
    : view_(view),
      desktop_(desktop),
      joutai_ini_(settings_path(executable)),
      edited_(joutai_ini_, view.kankyou_cmb, view.kill_lst, view.active_lst, view.prompts) {
  edited_.set_save_as([this] { return save_as_kankyou(environment_parts()); });
}

void MainController::command(const std::function<void()>& body) {
  run_command(view_.prompts, body);
}

EnvironmentParts MainController::environment_parts() {
  return {joutai_ini_,      edited_,        view_.kankyou_cmb,  view_.kill_lst,
          view_.active_lst, view_.tray_pop, view_.get_name_dlg, view_.prompts};
}

void MainController::form_create() {
  command([&] {
    fill_window_list(view_.handle_lst, desktop_.windows);
    view_.count_lbl.set_text("1");
    read_settei(joutai_ini_, view_.properties);

    Selector& selector = view_.kankyou_cmb;
    selector.clear();
    for (const auto& name : joutai_ini_.read_sections()) selector.append(name);
    if (selector.count() == 0) {
      // First run. Stay on screen even when the sample cannot be written, so that the user sees
      // the error and the window.
      hide_done_flg_ = true;
      selector.append(write_sample_environment(joutai_ini_));
    } else {
      for (int i = 0; i < selector.count(); ++i) {
        if (selector.line(i) == kSystemSection) {
          selector.remove(i);
          break;
        }
      }
      hide_done_flg_ = false;
    }
    selector.set_current_index(selector.count() > 0 ? 0 : -1);
    edited_.clear_changed();
    edited_.load_kankyou();
    zorvek::make_kankyou_items(selector, view_.tray_pop);
  });
}

void MainController::form_close_query() {
  command([&] {
    edited_.ask_save();
    view_.app.minimize_main_window();
  });
}

void MainController::end_pop_click() {
  command([&] {
    if (edited_.ask_save()) view_.app.quit();
  });
}

bool MainController::end_of_session() {
  form_close_query();
  // The process may not outlive the session long enough to end normally.
  command([&] { write_settei(joutai_ini_, view_.properties); });
  return true;
}

void MainController::form_destroy() {
  command([&] { write_settei(joutai_ini_, view_.properties); });
  remove_kankyou_items(view_.tray_pop);
}

void MainController::kankyou_cmb_change() {
  command([&] { edited_.kankyou_cmbChange(); });
}

void MainController::kankyou_cmb_typed() {
  command([&] { edited_.load_kankyou(); });
}

void MainController::switch_kankyou(int tag) {
  if (switching_) return;
  switching_ = true;
  command([&] {
    const SwitchParts parts{view_.kill_lst, view_.active_lst, view_.flg_log_mnu, desktop_.windows,
                            desktop_.shell, view_.prompts,    desktop_.clock};
    zorvek::switch_kankyou(tag, view_.kankyou_cmb, edited_, parts);
  });
  switching_ = false;
}

void MainController::make_kankyou_items() {
  command([&] { zorvek::make_kankyou_items(view_.kankyou_cmb, view_.tray_pop); });
}

void MainController::get_list_btnClick() {
  command([&] { fill_window_list(view_.handle_lst, desktop_.windows); });
}

void MainController::handle_lstClick() {
  command([&] {
    for (int i = 0; i < view_.handle_lst.count(); ++i) {
      if (view_.handle_lst.selected(i)) view_.count_lbl.set_text(std::to_string(i + 1));
    }
  });
}

void MainController::make_kankyou_click() {
  command([&] { make_kankyouClick(environment_parts()); });
}

void MainController::change_kankyouname() {
  command([&] { change_kankyouname_actExecute(environment_parts()); });
}

void MainController::saveas_kankyou() {
  command([&] { saveas_kankyou_actExecute(environment_parts()); });
}

void MainController::save_kankyou() {
  command([&] { save_kankyou_actExecute(environment_parts()); });
}

void MainController::delete_kankyou() {
  command([&] { delete_kankyouClick(environment_parts()); });
}

void MainController::add_titles() {
  command([&] { kill_sbtnClick(view_.handle_lst, view_.kill_lst, edited_); });
}

void MainController::delete_kill() {
  command([&] { delete_kill_popClick(view_.kill_lst, edited_); });
}

void MainController::sort_kill() {
  command([&] { sort_kill_popClick(view_.kill_lst); });
}

void MainController::edit_kill() {
  command([&] { kill_lstDblClick(view_.kill_lst, view_.get_name_dlg, view_.prompts, edited_); });
}

void MainController::kill_process() {
  command([&] { kill_process_popClick(view_.kill_lst, desktop_.windows); });
}

void MainController::kill_kidou() {
  command([&] { kill_kidou_actExecute(view_.handle_lst, desktop_.windows); });
}

void MainController::drop_files(const std::vector<std::string>& utf8_paths) {
  command([&] { zorvek::drop_files(utf8_paths, view_.active_lst, edited_, view_.prompts); });
}

void MainController::action_active() {
  command([&] { action_active_actExecute(view_.active_lst, desktop_.shell, view_.prompts); });
}

void MainController::sort_active() {
  command([&] { sort_active_actExecute(view_.active_lst); });
}

void MainController::edit_active() {
  command([&] {
    edit_active_actExecute(view_.active_lst, view_.get_name_dlg, view_.prompts, edited_);
  });
}

void MainController::delete_active() {
  command([&] { delete_active_actExecute(view_.active_lst, edited_); });
}

void MainController::search() {
  command([&] { search_btnClick(view_.handle_lst, view_.get_name_dlg, view_.count_lbl); });
}

void MainController::next_search() {
  command([&] { next_btnClick(view_.handle_lst, view_.get_name_dlg, view_.count_lbl); });
}

void MainController::tray_icon_minimize() {
  command([&] {
    view_.app.hide_main_window();
    // Whatever the answer, the window stays in the tray; unsaved changes stay marked.
    edited_.ask_save();
  });
}

void MainController::tray_icon_restore() {
  command([&] {
    fill_window_list(view_.handle_lst, desktop_.windows);
    view_.app.show_main_window();
  });
}

void MainController::settei_pop_click() {
  command([&] {
    fill_window_list(view_.handle_lst, desktop_.windows);
    view_.app.show_main_window();
    view_.app.restore_main_window();
  });
}

void MainController::help_click() {
  command([&] { open_help(desktop_.shell, view_.prompts); });
}

}  // namespace zorvek
