#include "dialogs/help.h"

#include "platform/codec.h"

namespace zorvek {

void open_help(Shell& shell, Prompts& prompts) {
  if (shell.open(kHelpDocument, "") == OpenResult::not_found) {
    prompts.show_message(jp("ヘルプファイルが見あたらないんだけど．．．"));
  }
}

void open_link(Shell& shell, Prompts& prompts, const std::string& address) {
  if (shell.open(address, "") == OpenResult::not_found) {
    prompts.show_message(jp("ファイルが見あたらないんだけど．．．"));
  }
}

std::string version_text(unsigned major, unsigned minor, unsigned patch, unsigned tweak) {
  return std::to_string(major) + "." + std::to_string(minor) + std::to_string(patch) +
         std::to_string(tweak);
}

}  // namespace zorvek
