// The system's local time.
#pragma once

#include "platform/clock.h"

namespace zorvek {

class SystemClock : public Clock {
 public:
  std::tm local_now() override;
};

}  // namespace zorvek
