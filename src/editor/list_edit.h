// Steps that the kill list and the launch list share: acting on the selection, deleting and
// editing one entry in the name dialog.
#pragma once

#include <string>
#include <vector>

#include "platform/list_box.h"
#include "platform/name_dialog.h"
#include "platform/prompts.h"

namespace zorvek {

// Index of the first selected line, or -1.
int first_selected(const ListBox& list);

// The selected lines that are not empty, from the first to the last. Taken before acting on
// them, so that what the action does (a message box, a close request to one of our own windows)
// cannot change which lines it goes through.
std::vector<std::string> selected_entries(const ListBox& list);

// Removes every selected line.
void delete_selected(ListBox& list);

// Edits the first selected line in the name dialog and replaces it, on OK, with the text exactly
// as typed. With no line selected, or an empty one, shows complaint instead. Returns whether the
// line was replaced.
bool edit_first_selected(ListBox& list, NameDialog& get_name_dlg, Prompts& prompts,
                         const std::string& complaint);

}  // namespace zorvek
