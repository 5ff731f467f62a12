#pragma once
// Sleeping and the two clocks: a monotonic one for measuring waits and the
// wall clock in local time.
#include <cstdint>

void SleepMilliseconds(int32_t milliseconds);

// Milliseconds since an arbitrary start; never goes back.
int64_t MonotonicMilliseconds();

// The local date and time, as the system clock shows it.
struct SystemTime {
  int year;
  int month;        // 1..12
  int day;          // 1..31
  int hour;         // 0..23
  int minute;       // 0..59
  int second;       // 0..59 (a leap second shows as 59)
  int millisecond;  // 0..999
  int day_of_week;  // 0 = Sunday
};
SystemTime LocalTimeNow();
