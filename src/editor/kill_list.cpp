#include "editor/kill_list.h"

namespace zorvek {

void add_unique_item(ListBox& list, const std::string& text) {
  if (list.find_ignore_case(text) >= 0) return;
  list.insert(list.count(), text);
  list.set_current(list.count() - 1);
}

void kill_sbtnClick(const ListBox& handle_lst, ListBox& kill_lst, EditedEnvironment& edited) {
  for (int i = 0; i < handle_lst.count(); ++i) {
    if (!handle_lst.selected(i)) continue;
    const std::string title = handle_lst.line(i);
    if (title.empty()) continue;
    add_unique_item(kill_lst, title);
    edited.set_changed();
  }
}

}  // namespace zorvek
