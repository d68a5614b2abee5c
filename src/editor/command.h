// Every command entry point (menu item, button, tray item, drop, selector change) runs through
// run_command, so that an error ends the command but never the program.
#pragma once

#include <functional>
#include <string>

#include "platform/prompts.h"

namespace zorvek {

// The text of the standard error box for an error message: a full stop is appended unless the
// message already ends in one.
std::string error_box_text(const std::string& message);

// Runs command; a StoreError (or any other exception) that escapes it is shown in the standard
// error box. Returns false when the command was ended by an error.
bool run_command(Prompts& prompts, const std::function<void()>& command);

}  // namespace zorvek
