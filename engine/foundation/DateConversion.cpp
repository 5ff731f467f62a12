#include "engine/foundation/DateConversion.h"

#include <cmath>

#include "platform/rtl/ArithmeticError.h"

namespace {

// Milliseconds of the fraction's absolute value; may be kMSecsPerDay.
int32_t RoundedMilliseconds(TDateTime value) {
  if (!std::isfinite(value)) throw EInvalidOp();
  double whole;
  const double fraction = std::modf(value, &whole);
  return static_cast<int32_t>(std::nearbyint(std::fabs(fraction) * kMSecsPerDay));
}

int32_t ToInt32(int64_t value) {
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    throw EIntOverflow();
  return static_cast<int32_t>(value);
}

}  // namespace

TVTRTimeStamp ReadTimeStamp(const void* image) {
  const auto* bytes = static_cast<const uint8_t*>(image);
  uint32_t date = 0, time = 0;
  for (int i = 3; i >= 0; --i) {
    date = date << 8 | bytes[i];
    time = time << 8 | bytes[4 + i];
  }
  return {static_cast<int32_t>(date), static_cast<int32_t>(time)};
}

void WriteTimeStamp(const TVTRTimeStamp& value, void* image) {
  auto* bytes = static_cast<uint8_t*>(image);
  const auto date = static_cast<uint32_t>(value.date), time = static_cast<uint32_t>(value.time);
  for (int i = 0; i < 4; ++i) {
    bytes[i] = static_cast<uint8_t>(date >> (8 * i));
    bytes[4 + i] = static_cast<uint8_t>(time >> (8 * i));
  }
}

TDateTime DayNumberToDateTime(int32_t day_number) {
  return static_cast<TDateTime>(ToInt32(int64_t{day_number} - kDateDelta));
}

int32_t DateTimeToDayNumber(TDateTime value) {
  if (!(std::fabs(value) < 4e9)) throw EIntOverflow();
  return ToInt32(static_cast<int64_t>(value) + kDateDelta);
}

TDateTime MillisecondsToTime(int32_t milliseconds) {
  double whole;
  return std::modf(static_cast<double>(milliseconds) / kMSecsPerDay, &whole);
}

int32_t TimeToMilliseconds(TDateTime value) {
  return RoundedMilliseconds(value) % kMSecsPerDay;
}

TDateTime TimeStampToDateTime(const TVTRTimeStamp& value) {
  return ComposeDateTime(DayNumberToDateTime(value.date), MillisecondsToTime(value.time));
}

TVTRTimeStamp DateTimeToTimeStamp(TDateTime value) {
  const int32_t date = DateTimeToDayNumber(value);
  const int32_t milliseconds = RoundedMilliseconds(value);
  if (milliseconds == kMSecsPerDay) return {ToInt32(int64_t{date} + 1), 0};
  return {date, milliseconds};
}
