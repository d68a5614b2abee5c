#include "platform/selector.h"

#include "text/cp932.h"

namespace zorvek {

int find_exact(const Selector& selector, const std::string& name) {
  for (int i = 0; i < selector.count(); ++i) {
    if (cp932::equal_ignore_case(selector.line(i), name)) return i;
  }
  return -1;
}

}  // namespace zorvek
