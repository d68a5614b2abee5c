#include "editor/open_window_list.h"

#include <string>

#include "text/cp932.h"
#include "text/title_match.h"

namespace zorvek {

void fill_window_list(ListBox& handle_lst, WindowSystem& windows) {
  handle_lst.clear();
  for (const TopLevelWindow& window : windows.top_level_windows()) {
    const std::string title(cp932::cut(window.title, kMaxTitleBytes));
    if (title.empty() || handle_lst.find_ignore_case(title) >= 0) continue;
    handle_lst.add(title);
  }
}

}  // namespace zorvek
