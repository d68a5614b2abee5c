// Closing a window by a piece of its title.
#pragma once

#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "platform/window_system.h"

namespace zorvek {

// One switch or one close command. The windows are listed once, when the first entry is looked
// up, and a window asked to close is passed over afterwards: so each entry reaches the next
// matching window, a window slow to go is never asked twice, and a box that a close request makes
// appear ("save changes?") is not closed by a later entry.
class CloseRound {
 public:
  const std::set<WindowId>& asked() const { return asked_; }

 private:
  friend void close_by_title(WindowSystem& windows, std::string_view text, CloseRound& round);
  std::optional<std::vector<TopLevelWindow>> listed_;
  std::set<WindowId> asked_;
};

// Asks the first top-level window (top of the stacking order first) whose title matches text by
// title_matches() to close. Nothing happens when none matches.
void close_by_title(WindowSystem& windows, std::string_view text, CloseRound& round);

}  // namespace zorvek
