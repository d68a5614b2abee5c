// Finding lines of the open-window list by a piece of their text. The search text is kept in the
// name dialog's entry field, which lives for the whole run, so "next" looks for whatever that
// field holds at the moment.
#pragma once

#include <string>

#include "platform/label.h"
#include "platform/list_box.h"
#include "platform/name_dialog.h"

namespace zorvek {

// Deselects every line, then selects the first line from position on that text picks out by
// title_matches(). Returns its index, or -1 when there is none (no wrap-around).
int find_title(ListBox& handle_lst, int position, const std::string& text);

// "検索": asks for the text in the name dialog (emptied first) and searches from the first line;
// count_lbl shows the index found, or -1. Cancel changes nothing.
void search_btnClick(ListBox& handle_lst, NameDialog& get_name_dlg, Label& count_lbl);

// "次候補検索": searches from the line below the current one for the entry field's present text,
// without showing the dialog; count_lbl shows the index found, or -1.
void next_btnClick(ListBox& handle_lst, const NameDialog& get_name_dlg, Label& count_lbl);

}  // namespace zorvek
