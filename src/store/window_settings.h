// The main window's settings in the system section of joutai.INI: read once at start, written
// once at the end of the run.
#pragma once

#include "platform/window_properties.h"
#include "store/ini_file.h"

namespace zorvek {

// Applies the stored settings; a missing key or one that is not a number leaves the property as
// it is (the log check mark: off).
void read_settei(const IniFile& ini, WindowProperties& window);
// Stores all six settings from the window's properties, in one change of the file.
void write_settei(IniFile& ini, const WindowProperties& window);

}  // namespace zorvek
