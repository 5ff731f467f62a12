#include "app/core/Currency.h"

#include <cmath>

#include "platform/rtl/ArithmeticError.h"
#include "platform/rtl/FormatFloat.h"

Currency Currency::FromDouble(double value) {
  const double scaled = std::round(value * kScale);
  // 2^63 is the first double past the range; the negative end is exactly -2^63.
  constexpr double kLimit = 9223372036854775808.0;
  if (!(scaled >= -kLimit && scaled < kLimit)) throw EOverflow();
  return Currency(static_cast<int64_t>(scaled));
}

std::string Currency::Format(std::string_view mask) const {
  return FormatFloat(mask, ToDouble());
}

Currency& Currency::operator+=(Currency other) {
  int64_t sum = 0;
  if (__builtin_add_overflow(units_, other.units_, &sum)) throw EOverflow();
  units_ = sum;
  return *this;
}

Currency& Currency::operator-=(Currency other) {
  int64_t difference = 0;
  if (__builtin_sub_overflow(units_, other.units_, &difference)) throw EOverflow();
  units_ = difference;
  return *this;
}
