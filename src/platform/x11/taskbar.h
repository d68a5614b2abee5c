// Keeping a window of this program off the desktop's taskbar.
#pragma once

#include <cstdint>

namespace zorvek {

// Leaves the window off the taskbar and the pager: marked so before it is mapped, or asked of
// the window manager once it is. Does nothing when the display cannot be reached.
void keep_off_taskbar(std::uint64_t window);

}  // namespace zorvek
