// Keeping a window of this program off the desktop's taskbar.
#pragma once

#include <cstdint>

namespace zorvek {

// Asks the window manager to leave the (mapped) window off the taskbar and the pager. Does
// nothing when the display cannot be reached.
void keep_off_taskbar(std::uint64_t window);

}  // namespace zorvek
