// Filling the kill list from the open-window list.
#pragma once

#include <string>

#include "platform/list_box.h"
#include "store/edited_environment.h"

namespace zorvek {

// Appends text unless an equal line (letter case ignored) is there already; the appended line
// becomes the current one. The selection does not change.
void add_unique_item(ListBox& list, const std::string& text);

// Adds every selected non-empty title of the open-window list to the kill list, in list order,
// and marks the environment changed for each, added or not.
void kill_sbtnClick(const ListBox& handle_lst, ListBox& kill_lst, EditedEnvironment& edited);

}  // namespace zorvek
