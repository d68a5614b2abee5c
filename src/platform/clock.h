// The local time, replaceable in tests.
#pragma once

#include <ctime>

namespace zorvek {

class Clock {
 public:
  virtual ~Clock() = default;
  // The local date and time now.
  virtual std::tm local_now() = 0;
};

}  // namespace zorvek
