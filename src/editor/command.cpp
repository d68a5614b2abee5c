#include "editor/command.h"

#include <exception>

namespace zorvek {

std::string error_box_text(const std::string& message) {
  if (!message.empty() && message.back() == '.') return message;
  return message + ".";
}

bool run_command(Prompts& prompts, const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const std::exception& e) {  // StoreError above all
    prompts.show_error(error_box_text(e.what()));
  }
  return false;
}

}  // namespace zorvek
