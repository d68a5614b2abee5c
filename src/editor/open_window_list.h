// The open-window list: the distinct titles of the desktop's top-level windows.
#pragma once

#include "platform/label.h"
#include "platform/list_box.h"
#include "platform/window_system.h"

namespace zorvek {

// Empties the list, then adds the title of every top-level window (its first bytes only, as far as
// a title is ever read) that is not empty and not yet listed with letter case ignored.
void fill_window_list(ListBox& handle_lst, WindowSystem& windows);

}  // namespace zorvek
