// The one rule by which a text picks out a window title: closing by title, the open-window list
// and its search all use it.
#pragma once

#include <cstddef>
#include <string_view>

namespace zorvek {

// Only this many bytes of a window title are ever read or compared.
inline constexpr std::size_t kMaxTitleBytes = 254;

// True when the bytes of text occur in the first kMaxTitleBytes bytes of title, letter case
// counting, starting on a character boundary. An empty text or title never matches.
bool title_matches(std::string_view text, std::string_view title);

}  // namespace zorvek
