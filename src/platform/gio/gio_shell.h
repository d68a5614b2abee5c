// Opening files the way the desktop's file manager does, through GIO.
//
// What an entry is decides how it is opened:
//   - missing (no such file, or a part of its folder is not a folder): not_found;
//   - a URI such as "https://..." that is no file here: the default handler of its scheme;
//   - a folder: the default application for inode/directory (the file manager);
//   - a ".desktop" file: the application it describes;
//   - a program (executable for us, and an ELF binary or a "#!" script): started directly, with
//     its own path as the only argument;
//   - anything else: the default application for its content type, given the file.
// A file with an executable bit that is neither ELF nor "#!" (every file on some FAT or NTFS
// mounts) counts as a document. Relative names are taken from the current directory.
//
// Whatever is started runs in the given directory (the current one when it is empty), except an
// application whose desktop entry names its own (Path=) and one that D-Bus starts on request
// (DBusActivatable=true), which runs where the bus puts it. Started programs are not waited for:
// GLib forks twice, so the program is re-parented at once and leaves no zombie behind, without
// any need for a main loop or a SIGCHLD handler.
#pragma once

#include <string>

#include "platform/shell.h"

namespace zorvek {

class GioShell : public Shell {
 public:
  OpenResult open(const std::string& file, const std::string& directory) override;
};

}  // namespace zorvek
