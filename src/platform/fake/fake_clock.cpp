#include "platform/fake/fake_clock.h"

namespace zorvek {

std::tm make_tm(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  // Fills in the day of the week and of the year.
  const std::time_t seconds = timegm(&t);
  gmtime_r(&seconds, &t);
  return t;
}

FakeClock::FakeClock(int year, int month, int day, int hour, int minute, int second) {
  std::tm t = make_tm(year, month, day, hour, minute, second);
  now_ = timegm(&t);
}

std::tm FakeClock::local_now() {
  std::tm t{};
  gmtime_r(&now_, &t);
  now_ += step_;
  ++readings_;
  return t;
}

}  // namespace zorvek
