#pragma once
// The engine's date and time representation and its conversion to and from
// the class library's TDateTime.
//
// DATE is a day number (i32, day 1 = 0001-01-01 in the proleptic Gregorian
// calendar, 693594 = 1899-12-30); TIME is milliseconds since midnight (i32,
// 0..86399999); DATETIME stores both, 8 bytes:
//   offset 0  i32  day number
//   offset 4  i32  milliseconds
#include <cstdint>
#include <limits>

#include "platform/rtl/DateTime.h"

// The day number that stands for a missing date.
inline constexpr int32_t kMissingDayNumber = std::numeric_limits<int32_t>::min();
inline constexpr int32_t kTimeStampSize = 8;

struct TVTRTimeStamp {
  int32_t date = 0;  // day number
  int32_t time = 0;  // milliseconds
  bool operator==(const TVTRTimeStamp&) const = default;
};

TVTRTimeStamp ReadTimeStamp(const void* image);
void WriteTimeStamp(const TVTRTimeStamp& value, void* image);

// Raises EIntOverflow below -2146790054, which includes the missing date:
// callers test for it first.
TDateTime DayNumberToDateTime(int32_t day_number);
// Whole days of the value (toward zero) + 693594; EIntOverflow outside i32.
int32_t DateTimeToDayNumber(TDateTime value);
// The fractional part of milliseconds ÷ 86400000.
TDateTime MillisecondsToTime(int32_t milliseconds);
// The time of day in milliseconds, rounded half to even: the fraction's
// absolute value, so a date before 1899-12-30 gets a non-negative time; a time
// that rounds to 24:00 gives 0.
int32_t TimeToMilliseconds(TDateTime value);
TDateTime TimeStampToDateTime(const TVTRTimeStamp& value);
// A time that rounds to 24:00 moves to 0 ms of the next day.
TVTRTimeStamp DateTimeToTimeStamp(TDateTime value);
