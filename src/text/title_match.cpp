#include "text/title_match.h"

#include "text/cp932.h"

namespace zorvek {

bool title_matches(std::string_view text, std::string_view title) {
  if (text.empty() || title.empty()) return false;
  return cp932::find(cp932::cut(title, kMaxTitleBytes), text) != std::string_view::npos;
}

}  // namespace zorvek
