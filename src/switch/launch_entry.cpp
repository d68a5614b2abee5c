#include "switch/launch_entry.h"

#include "platform/codec.h"
#include "switch/working_directory.h"

namespace zorvek {

void launch_entry(Shell& shell, Prompts& prompts, const std::string& entry) {
  if (shell.open(entry, working_directory(entry)) == OpenResult::not_found) {
    prompts.show_message(jp("ファイルが見あたらないんだけど．．．\n") + entry);
  }
}

}  // namespace zorvek
