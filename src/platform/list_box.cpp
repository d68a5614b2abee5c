#include "platform/list_box.h"

#include <algorithm>
#include <vector>

#include "text/cp932.h"

namespace zorvek {

int ListBox::add(const std::string& text) {
  int at = count();
  if (sorted()) {
    // After any equal lines, as a sorted list box inserts.
    int lo = 0;
    while (lo < at) {
      const int mid = lo + (at - lo) / 2;
      if (cp932::compare_ignore_case(text, line(mid)) < 0) {
        at = mid;
      } else {
        lo = mid + 1;
      }
    }
  }
  insert(at, text);
  return at;
}

int ListBox::find_ignore_case(const std::string& text) const {
  for (int i = 0; i < count(); ++i) {
    if (cp932::equal_ignore_case(line(i), text)) return i;
  }
  return -1;
}

void ListBox::sort_once() {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(count()));
  for (int i = 0; i < count(); ++i) lines.push_back(line(i));
  std::stable_sort(lines.begin(), lines.end(), cp932::less_ignore_case);
  clear();
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) insert(i, lines[i]);
}

}  // namespace zorvek
