// The kill list: filling it from the open-window list, editing it, and closing windows at once.
#pragma once

#include <string>

#include "platform/list_box.h"
#include "platform/name_dialog.h"
#include "platform/prompts.h"
#include "platform/window_system.h"
#include "store/edited_environment.h"

namespace zorvek {

// Appends text unless an equal line (letter case ignored) is there already; the appended line
// becomes the current one. The selection does not change.
void add_unique_item(ListBox& list, const std::string& text);

// Adds every selected non-empty title of the open-window list to the kill list, in list order,
// and marks the environment changed for each, added or not. Also what a drop on the kill list
// does.
void kill_sbtnClick(const ListBox& handle_lst, ListBox& kill_lst, EditedEnvironment& edited);

// The lists of the main window, as the source of a drag.
enum class ListId { handle_lst, kill_lst, active_lst, other };

// Whether a drag from source may be dropped on the kill list: only titles of the open-window list
// are taken.
constexpr bool kill_lstDragOver(ListId source) {
  return source == ListId::handle_lst;
}

// Removes the selected entries and marks the environment changed, also when none was selected.
void delete_kill_popClick(ListBox& kill_lst, EditedEnvironment& edited);

// Sorts the entries once; the environment is not marked changed.
void sort_kill_popClick(ListBox& kill_lst);

// Edits the first selected entry in the name dialog; OK marks the environment changed.
void kill_lstDblClick(ListBox& kill_lst, NameDialog& get_name_dlg, Prompts& prompts,
                      EditedEnvironment& edited);

// Asks, for each selected non-empty entry in list order, the first window it matches to close.
void kill_process_popClick(const ListBox& kill_lst, WindowSystem& windows);

// Asks the first window matching the topmost selected title of the open-window list to close.
void kill_kidou_actExecute(const ListBox& handle_lst, WindowSystem& windows);

}  // namespace zorvek
