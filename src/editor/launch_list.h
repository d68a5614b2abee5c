// The launch list: files dropped on the main window, and the commands on its entries.
#pragma once

#include <string>
#include <vector>

#include "platform/list_box.h"
#include "platform/name_dialog.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "store/edited_environment.h"

namespace zorvek {

// Longest dropped name kept, in bytes.
inline constexpr std::size_t kMaxDroppedNameBytes = 254;

// Files dropped anywhere on the main window, as the system names them (UTF-8), in the order
// given: each non-empty name, cut to kMaxDroppedNameBytes, is added to the launch list unless it
// is there already (letter case ignored), and marks the environment changed either way. A name
// with characters that cannot be held is not added, and the user is told which names those were.
void drop_files(const std::vector<std::string>& utf8_paths, ListBox& active_lst,
                EditedEnvironment& edited, Prompts& prompts);

// Opens each selected non-empty entry in list order, outside a switch: nothing is logged.
void action_active_actExecute(const ListBox& active_lst, Shell& shell, Prompts& prompts);

// Sorts the entries once; the environment is not marked changed.
void sort_active_actExecute(ListBox& active_lst);

// Edits the first selected entry in the name dialog; OK marks the environment changed.
void edit_active_actExecute(ListBox& active_lst, NameDialog& get_name_dlg, Prompts& prompts,
                            EditedEnvironment& edited);

// Removes the selected entries and marks the environment changed, also when none was selected.
void delete_active_actExecute(ListBox& active_lst, EditedEnvironment& edited);

}  // namespace zorvek
