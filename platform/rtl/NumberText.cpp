#include "platform/rtl/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/rtl/Exception.h"
#include "platform/rtl/FloatText.h"

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses into [min, max]. Hexadecimal text may also spell a negative value's
// two's complement in the width of the range ("$FFFFFFFF" is -1 for int32).
bool ParseInteger(std::string_view text, int64_t min, int64_t max, int64_t& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return false;
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = base == 16 ? HexValue(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
    if (digit < 0 || magnitude > (UINT64_MAX - digit) / base) return false;
    magnitude = magnitude * base + digit;
  }
  const uint64_t max_magnitude = static_cast<uint64_t>(max);
  const uint64_t min_magnitude = max_magnitude + 1;
  if (negative) {
    if (magnitude > min_magnitude) return false;
    value = magnitude == min_magnitude ? min : -static_cast<int64_t>(magnitude);
  } else if (magnitude <= max_magnitude) {
    value = static_cast<int64_t>(magnitude);
  } else if (base == 16 && magnitude - min_magnitude <= max_magnitude) {
    value = min + static_cast<int64_t>(magnitude - min_magnitude);
  } else {
    return false;
  }
  return true;
}

[[noreturn]] void NotAnInteger(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace

std::string IntToStr(int64_t value) {
  return std::to_string(value);
}

std::string IntToHex(int32_t value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", digits < 0 ? 0 : std::min(digits, 8),
                static_cast<unsigned>(static_cast<uint32_t>(value)));
  return buffer;
}

std::string IntToHex(int64_t value, int digits) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%0*llX", digits < 0 ? 0 : std::min(digits, 16),
                static_cast<unsigned long long>(static_cast<uint64_t>(value)));
  return buffer;
}

bool TryStrToInt(std::string_view text, int32_t& value) {
  int64_t wide;
  if (!ParseInteger(text, INT32_MIN, INT32_MAX, wide)) return false;
  value = static_cast<int32_t>(wide);
  return true;
}

bool TryStrToInt64(std::string_view text, int64_t& value) {
  return ParseInteger(text, INT64_MIN, INT64_MAX, value);
}

int32_t StrToInt(std::string_view text) {
  int32_t value;
  if (!TryStrToInt(text, value)) NotAnInteger(text);
  return value;
}

int32_t StrToIntDef(std::string_view text, int32_t fallback) {
  int32_t value;
  return TryStrToInt(text, value) ? value : fallback;
}

int64_t StrToInt64(std::string_view text) {
  int64_t value;
  if (!TryStrToInt64(text, value)) NotAnInteger(text);
  return value;
}

bool TryStrToFloat(std::string_view text, double& value) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  std::string_view number = text.substr(begin, end - begin);
  bool negative = false;
  if (!number.empty() && (number[0] == '+' || number[0] == '-')) {
    negative = number[0] == '-';
    number.remove_prefix(1);
  }
  // Checked here, because from_chars would also take "inf", "nan" and hex forms.
  // order: the decimal exponent of the first non-zero digit, to tell an
  // overflow from an underflow below.
  size_t i = 0;
  size_t digits = 0;
  int64_t order = 0;
  bool seen_non_zero = false;
  bool after_point = false;
  for (; i < number.size(); ++i) {
    const char c = number[i];
    if (c == '.' && !after_point) {
      after_point = true;
      continue;
    }
    if (!IsDigit(c)) break;
    ++digits;
    if (c != '0') seen_non_zero = true;
    if (!after_point && seen_non_zero) ++order;
    if (after_point && !seen_non_zero) --order;
  }
  if (digits == 0) return false;
  if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
    ++i;
    bool negative_exponent = false;
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) negative_exponent = number[i++] == '-';
    const size_t exponent_start = i;
    int64_t exponent = 0;
    for (; i < number.size() && IsDigit(number[i]); ++i)
      exponent = std::min<int64_t>(exponent * 10 + (number[i] - '0'), 1000000);
    if (i == exponent_start) return false;
    order += negative_exponent ? -exponent : exponent;
  }
  if (i != number.size()) return false;
  double magnitude = 0;
  const auto [end_of_number, error] =
      std::from_chars(number.data(), number.data() + number.size(), magnitude, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    // Too small values become zero; too large ones are not numbers the engine can hold.
    if (order > 0) return false;
    magnitude = 0;
  } else if (error != std::errc() || end_of_number != number.data() + number.size() ||
             !std::isfinite(magnitude)) {
    return false;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

double StrToFloat(std::string_view text) {
  double value;
  if (!TryStrToFloat(text, value))
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
  return value;
}

std::string FloatToStr(double value) {
  return FloatToGeneralText(value, 15);
}
