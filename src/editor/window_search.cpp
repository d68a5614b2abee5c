#include "editor/window_search.h"

#include "platform/codec.h"
#include "text/title_match.h"

namespace zorvek {

int find_title(ListBox& handle_lst, int position, const std::string& text) {
  for (int i = 0; i < handle_lst.count(); ++i) {
    if (handle_lst.selected(i)) handle_lst.set_selected(i, false);
  }
  for (int i = position; i < handle_lst.count(); ++i) {
    if (title_matches(text, handle_lst.line(i))) {
      handle_lst.set_selected(i, true);
      return i;
    }
  }
  return -1;
}

void search_btnClick(ListBox& handle_lst, NameDialog& get_name_dlg, Label& count_lbl) {
  get_name_dlg.set_caption(jp("起動プロセス検索"));
  get_name_dlg.set_prompt(jp("検索名"));
  get_name_dlg.set_text("");
  if (!get_name_dlg.show_modal()) return;
  count_lbl.set_text(std::to_string(find_title(handle_lst, 0, get_name_dlg.text())));
}

void next_btnClick(ListBox& handle_lst, const NameDialog& get_name_dlg, Label& count_lbl) {
  const int position = handle_lst.current() + 1;
  count_lbl.set_text(std::to_string(find_title(handle_lst, position, get_name_dlg.text())));
}

}  // namespace zorvek
