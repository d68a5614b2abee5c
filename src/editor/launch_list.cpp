#include "editor/launch_list.h"

#include "editor/kill_list.h"
#include "editor/list_edit.h"
#include "platform/codec.h"
#include "switch/launch_entry.h"
#include "text/cp932.h"

namespace zorvek {

void drop_files(const std::vector<std::string>& utf8_paths, ListBox& active_lst,
                EditedEnvironment& edited, Prompts& prompts) {
  std::string refused;
  for (const std::string& path : utf8_paths) {
    if (path.empty()) continue;
    const auto name = codec::to_cp932_exact(path);
    if (!name) {
      // Stored with "?" in it, the entry could never be opened again.
      refused += "\n" + codec::to_cp932(path);
      continue;
    }
    add_unique_item(active_lst, std::string(cp932::cut(*name, kMaxDroppedNameBytes)));
    edited.set_changed();
  }
  if (!refused.empty()) {
    prompts.show_message(
        jp("次のファイルは、名前に扱えない文字が含まれているため、起動一覧に登録できません。") +
        refused);
  }
}

void action_active_actExecute(const ListBox& active_lst, Shell& shell, Prompts& prompts) {
  for (const std::string& entry : selected_entries(active_lst)) {
    launch_entry(shell, prompts, entry);
  }
}

void sort_active_actExecute(ListBox& active_lst) {
  active_lst.sort_once();
}

void edit_active_actExecute(ListBox& active_lst, NameDialog& get_name_dlg, Prompts& prompts,
                            EditedEnvironment& edited) {
  static const std::string complaint = jp("編集する起動一覧の項目をクリックして選択して下さい。");
  if (edit_first_selected(active_lst, get_name_dlg, prompts, complaint)) edited.set_changed();
}

void delete_active_actExecute(ListBox& active_lst, EditedEnvironment& edited) {
  delete_selected(active_lst);
  edited.set_changed();
}

}  // namespace zorvek
