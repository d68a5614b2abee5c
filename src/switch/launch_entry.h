// Opening one launch-list entry.
#pragma once

#include <string>

#include "platform/prompts.h"
#include "platform/shell.h"

namespace zorvek {

// Opens entry (not empty) with the desktop's default action, in the entry's own folder. A missing
// file is reported in a message box, and the call returns once it is dismissed; every other
// failure passes silently.
void launch_entry(Shell& shell, Prompts& prompts, const std::string& entry);

}  // namespace zorvek
