// Opening a file with the desktop's default action, as a double-click in the file manager would.
#pragma once

#include <string>

namespace zorvek {

enum class OpenResult {
  ok,         // handed over
  not_found,  // the file does not exist: the one failure the user is told about
  failed,     // any other failure (no application, not allowed, ...)
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens file (CP932, one file name, never split or quoted) with directory (CP932, may be empty)
  // as the working directory of whatever is started. Never goes through a command shell.
  virtual OpenResult open(const std::string& file, const std::string& directory) = 0;
};

}  // namespace zorvek
