// Saves into a settings file until stopped, for the reliability test.
//   store_helper flip <ini> <name>
//       saves version 2 and version 1 of <name> in turn, forever (the test kills it)
//   store_helper count <ini> <name> <milliseconds> <result file>
//       for that long, saves round n of <name> and then writes key n<n> into its round section;
//       finally writes the number of the last round into the result file
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "store/environment_store.h"
#include "versions.h"

int main(int argc, char** argv) {
  using namespace zorvek;
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "flip" && argc == 4) {
    IniFile ini(argv[2]);
    for (int n = 0;; ++n) save_environment(ini, argv[3], reliability::flip_version(2 - n % 2));
  }
  if (mode == "count" && argc == 6) {
    IniFile ini(argv[2]);
    const std::string name = argv[3];
    const auto end =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::atoi(argv[4]));
    int n = 0;
    for (;; ++n) {
      save_environment(ini, name, reliability::counted_version(name, n));
      ini.write_integer(reliability::round_section(name), "n" + std::to_string(n), n);
      if (std::chrono::steady_clock::now() >= end) break;
    }
    std::ofstream(argv[5]) << n << "\n";
    return 0;
  }
  std::cerr << "usage: store_helper flip <ini> <name> | count <ini> <name> <ms> <result file>\n";
  return 2;
}
