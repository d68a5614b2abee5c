#include "platform/fake/fake_shell.h"

namespace zorvek {

OpenResult FakeShell::open(const std::string& file, const std::string& directory) {
  calls_.push_back({file, directory});
  if (hook_) hook_(calls_.back());
  const auto found = results_.find(file);
  return found == results_.end() ? OpenResult::ok : found->second;
}

}  // namespace zorvek
