#include "switch/close_by_title.h"

#include "text/title_match.h"

namespace zorvek {

void close_by_title(WindowSystem& windows, std::string_view text, CloseRound& round) {
  if (!round.listed_) round.listed_ = windows.top_level_windows();
  for (const TopLevelWindow& window : *round.listed_) {
    if (round.asked_.contains(window.id) || !title_matches(text, window.title)) continue;
    round.asked_.insert(window.id);
    windows.request_close(window.id);
    return;
  }
}

}  // namespace zorvek
