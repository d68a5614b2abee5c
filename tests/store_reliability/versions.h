// The lists that the store helper saves and the reliability test expects, shared by both.
#pragma once

#include <string>

#include "store/environment_store.h"

namespace zorvek::reliability {

// Version 1 and 2 of the environment that the kill loop saves in turn: 50 entries each, the
// same keys, other texts.
inline EnvironmentLists flip_version(int version) {
  EnvironmentLists lists;
  for (int i = 0; i < 25; ++i) {
    const std::string tag = "v" + std::to_string(version) + " entry " + std::to_string(i);
    lists.kill.push_back("window " + tag);
    lists.exe.push_back("/opt/apps/" + tag + "/run");
  }
  return lists;
}

// What a concurrent writer saves as environment name in its round n: lists whose length changes
// from round to round, so that surplus keys are deleted too.
inline EnvironmentLists counted_version(const std::string& name, int n) {
  EnvironmentLists lists;
  for (int i = 0; i <= n % 4; ++i) lists.kill.push_back(name + " kill " + std::to_string(n));
  for (int i = 0; i <= (n + 2) % 5; ++i) lists.exe.push_back(name + " exe " + std::to_string(n));
  return lists;
}

// The section where a concurrent writer leaves one key per round: a lost write shows as a gap.
inline std::string round_section(const std::string& name) {
  return "rounds of " + name;
}

}  // namespace zorvek::reliability
