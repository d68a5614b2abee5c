#include "platform/posix/system_clock.h"

#include <time.h>

namespace zorvek {

std::tm SystemClock::local_now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace zorvek
