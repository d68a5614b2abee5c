#include "switch/working_directory.h"

#include "text/cp932.h"

namespace zorvek {

std::string working_directory(std::string_view entry, const PathSyntax& syntax) {
  constexpr auto none = std::string_view::npos;
  std::size_t cut = none;
  bool separator_before_cut = false;
  bool previous_is_separator = false;
  // Walk by characters so that a separator byte inside a double-byte character is passed over.
  for (std::size_t i = 0; i < entry.size();) {
    const std::size_t length = cp932::char_length(entry, i);
    const bool separator = length == 1 && syntax.separators.find(entry[i]) != none;
    if (separator) {
      cut = i;
      separator_before_cut = previous_is_separator;
    }
    previous_is_separator = separator;
    i += length;
  }
  if (cut == none) return {};
  if (cut > 0 && entry[cut] == syntax.delimiter && !separator_before_cut) {
    return std::string(entry.substr(0, cut));
  }
  return std::string(entry.substr(0, cut + 1));
}

}  // namespace zorvek
