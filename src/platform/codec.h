// Conversion between the CP932 text used inside Zorvek and the UTF-8 of the system at its edges
// (window titles, file names, the GUI's strings).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorvek::codec {

// UTF-8 to CP932; a character CP932 cannot hold (and any invalid UTF-8 byte) becomes "?", as the
// Windows ANSI functions do.
std::string to_cp932(std::string_view utf8);

// UTF-8 to CP932, or nothing when some character cannot be held.
std::optional<std::string> to_cp932_exact(std::string_view utf8);

// CP932 to UTF-8; a byte sequence that is not CP932 becomes U+FFFD.
std::string to_utf8(std::string_view cp932);

}  // namespace zorvek::codec

namespace zorvek {

// Shorthand for the program's own Japanese texts, written in UTF-8 in the sources.
inline std::string jp(std::string_view utf8) {
  return codec::to_cp932(utf8);
}

}  // namespace zorvek
