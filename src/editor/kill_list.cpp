#include "editor/kill_list.h"

#include "editor/list_edit.h"
#include "platform/codec.h"
#include "switch/close_by_title.h"

namespace zorvek {

void add_unique_item(ListBox& list, const std::string& text) {
  if (list.find_ignore_case(text) >= 0) return;
  list.insert(list.count(), text);
  list.set_current(list.count() - 1);
}

void kill_sbtnClick(const ListBox& handle_lst, ListBox& kill_lst, EditedEnvironment& edited) {
  for (const std::string& title : selected_entries(handle_lst)) {
    add_unique_item(kill_lst, title);
    edited.set_changed();
  }
}

void delete_kill_popClick(ListBox& kill_lst, EditedEnvironment& edited) {
  delete_selected(kill_lst);
  edited.set_changed();
}

void sort_kill_popClick(ListBox& kill_lst) {
  kill_lst.sort_once();
}

void kill_lstDblClick(ListBox& kill_lst, NameDialog& get_name_dlg, Prompts& prompts,
                      EditedEnvironment& edited) {
  static const std::string complaint =
      jp("編集する終了プロセス一覧の項目をクリックして選択して下さい。");
  if (edit_first_selected(kill_lst, get_name_dlg, prompts, complaint)) edited.set_changed();
}

void kill_process_popClick(const ListBox& kill_lst, WindowSystem& windows) {
  // One round: two entries naming the same program close two of its windows.
  CloseRound round;
  // An entry longer than a title can be matches nothing, so it is handed over whole.
  for (const std::string& entry : selected_entries(kill_lst)) close_by_title(windows, entry, round);
}

void kill_kidou_actExecute(const ListBox& handle_lst, WindowSystem& windows) {
  const int i = first_selected(handle_lst);
  if (i < 0 || handle_lst.line(i).empty()) return;
  CloseRound round;
  close_by_title(windows, handle_lst.line(i), round);
}

}  // namespace zorvek
