// COMPOUND_TEXT, the ISO 2022 based encoding older X programs still use for WM_NAME.
#pragma once

#include <string>
#include <string_view>

namespace zorvek::x11 {

// The CP932 text of a COMPOUND_TEXT value. ASCII, Latin-1, JIS X 0201, JIS X 0208 and UTF-8
// segments are decoded; a character of any other set, or one CP932 cannot hold, becomes "?".
std::string compound_text_to_cp932(std::string_view text);

}  // namespace zorvek::x11
