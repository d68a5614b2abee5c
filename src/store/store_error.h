// The one kind of error Zorvek raises: the settings file could not be written, or an entry is too
// long to store. It ends the command in progress; run_command shows it.
#pragma once

#include <stdexcept>
#include <string>

namespace zorvek {

class StoreError : public std::runtime_error {
 public:
  // text is CP932.
  explicit StoreError(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace zorvek
