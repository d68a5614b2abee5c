#include "editor/list_edit.h"

#include "platform/codec.h"

namespace zorvek {

int first_selected(const ListBox& list) {
  for (int i = 0; i < list.count(); ++i) {
    if (list.selected(i)) return i;
  }
  return -1;
}

std::vector<std::string> selected_entries(const ListBox& list) {
  std::vector<std::string> entries;
  for (int i = 0; i < list.count(); ++i) {
    if (!list.selected(i)) continue;
    std::string entry = list.line(i);
    if (!entry.empty()) entries.push_back(std::move(entry));
  }
  return entries;
}

void delete_selected(ListBox& list) {
  for (int i = 0; i < list.count();) {
    if (list.selected(i)) {
      list.remove(i);  // the next line moves up into i
    } else {
      ++i;
    }
  }
}

bool edit_first_selected(ListBox& list, NameDialog& get_name_dlg, Prompts& prompts,
                         const std::string& complaint) {
  get_name_dlg.set_caption(jp("起動プロセス編集"));
  get_name_dlg.set_prompt(jp("プロセス名"));
  const int i = first_selected(list);
  if (i < 0 || list.line(i).empty()) {
    prompts.show_message(complaint);
    return false;
  }
  get_name_dlg.set_text(list.line(i));
  if (!get_name_dlg.show_modal()) return false;
  list.replace(i, get_name_dlg.text());
  return true;
}

}  // namespace zorvek
