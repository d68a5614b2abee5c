// The help command, and the version text of the version dialog.
#pragma once

#include <string>

#include "platform/prompts.h"
#include "platform/shell.h"

namespace zorvek {

// The help document, relative to the current directory.
inline constexpr const char* kHelpDocument = "./doc/index.html";

// Opens the help document with the desktop's default application; tells the user only when it
// is missing.
void open_help(Shell& shell, Prompts& prompts);

// Opens a web address or file from the version dialog; tells the user only when it is missing.
void open_link(Shell& shell, Prompts& prompts, const std::string& address);

// The version as the version dialog shows it: the major part, ".", then the minor, third and
// fourth parts run together (1.5.1.4 shows as 1.514).
std::string version_text(unsigned major, unsigned minor, unsigned patch, unsigned tweak);

}  // namespace zorvek
