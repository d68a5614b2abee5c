// A shell for logic tests: records every open and answers with scripted results.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/shell.h"

namespace zorvek {

class FakeShell : public Shell {
 public:
  struct Call {
    std::string file;
    std::string directory;
    bool operator==(const Call&) const = default;
  };

  OpenResult open(const std::string& file, const std::string& directory) override;

  // The result for file from now on; every other file opens fine.
  void set_result(const std::string& file, OpenResult result) { results_[file] = result; }
  // Called at each open, after it has been recorded.
  void on_open(std::function<void(const Call&)> hook) { hook_ = std::move(hook); }
  const std::vector<Call>& calls() const { return calls_; }

 private:
  std::map<std::string, OpenResult> results_;
  std::vector<Call> calls_;
  std::function<void(const Call&)> hook_;
};

}  // namespace zorvek
