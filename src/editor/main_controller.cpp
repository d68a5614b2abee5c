#include "editor/main_controller.h"

#include "editor/command.h"
#include "editor/open_window_list.h"
#include "store/environment_store.h"
#include "store/window_settings.h"

namespace zorvek {

MainController::MainController(const MainView& view, WindowSystem& windows,
                               const std::filesystem::path& executable)
    : view_(view),
      windows_(windows),
      joutai_ini_(settings_path(executable)),
      edited_(joutai_ini_, view.kankyou_cmb, view.kill_lst, view.active_lst, view.prompts) {}

void MainController::command(const std::function<void()>& body) {
  run_command(view_.prompts, body);
}

void MainController::form_create() {
  command([&] {
    fill_window_list(view_.handle_lst, windows_);
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
}

void MainController::kankyou_cmb_change() {
  command([&] { edited_.kankyou_cmbChange(); });
}

void MainController::kankyou_cmb_typed() {
  command([&] { edited_.load_kankyou(); });
}

}  // namespace zorvek
