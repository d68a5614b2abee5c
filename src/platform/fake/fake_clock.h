// A clock for logic tests: a set time that moves on by a fixed step after each reading.
#pragma once

#include <ctime>

#include "platform/clock.h"

namespace zorvek {

class FakeClock : public Clock {
 public:
  // year, month (1-12), day, hour, minute, second.
  FakeClock(int year, int month, int day, int hour, int minute, int second);

  std::tm local_now() override;

  // Seconds added after each reading (0 by default: the time stands still).
  void set_step(int seconds) { step_ = seconds; }
  int readings() const { return readings_; }

 private:
  std::time_t now_;  // kept as UTC, so that no time zone ever shifts it
  int step_ = 0;
  int readings_ = 0;
};

// A broken-down time, for comparing with what the program formats.
std::tm make_tm(int year, int month, int day, int hour, int minute, int second);

}  // namespace zorvek
