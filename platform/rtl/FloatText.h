#pragma once
// Decimal text of floating values with the fixed locale's rounding: the value is
// first taken to 15 significant digits, then rounded half away from zero, so
// 1.005 gives "1.01" at two decimals and 0.1 + 0.2 gives "0.30".
#include <string>

struct DecimalDigits {
  bool negative = false;
  std::string digits;  // significant digits without leading zeros; empty for zero
  int exponent = 0;    // value = 0.digits × 10^exponent
};

// The value to `significant` digits (1..17), trailing zeros removed.
DecimalDigits ToDecimalDigits(double value, int significant = 15);

// Rounds half away from zero so that `decimals` digits remain after the point.
DecimalDigits RoundDecimalDigits(DecimalDigits value, int decimals);

// Fixed notation with `decimals` digits after ".", optionally grouping the
// integer part with ",". Negative zero after rounding prints without a sign.
std::string FloatToFixedText(double value, int decimals, bool thousands);

// Scientific notation "d.dddE+ddd" with `precision` significant digits.
std::string FloatToExponentText(double value, int precision, int exponent_digits = 3);

// Shortest general text with at most `precision` significant digits.
std::string FloatToGeneralText(double value, int precision = 15);
