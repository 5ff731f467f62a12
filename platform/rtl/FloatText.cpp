#include "platform/rtl/FloatText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

DecimalDigits ToDecimalDigits(double value, int significant) {
  DecimalDigits result;
  result.negative = std::signbit(value);
  if (value == 0 || !std::isfinite(value)) return result;
  // to_chars, unlike printf, never uses the machine's decimal comma.
  char text[64];
  const auto [end, error] = std::to_chars(text, text + sizeof text - 1, std::fabs(value),
                                          std::chars_format::scientific, significant - 1);
  *end = '\0';
  // text is "d.ddddde±XX"
  const char* p = text;
  for (; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') result.digits.push_back(*p);
  result.exponent = std::atoi(p + 1) + 1;
  while (!result.digits.empty() && result.digits.back() == '0') result.digits.pop_back();
  if (result.digits.empty()) result.exponent = 0;
  return result;
}

DecimalDigits RoundDecimalDigits(DecimalDigits value, int decimals) {
  const int keep = value.exponent + decimals;
  if (keep >= static_cast<int>(value.digits.size())) return value;
  if (keep < 0) {
    value.digits.clear();
    value.exponent = 0;
    return value;
  }
  const bool round_up = value.digits[keep] >= '5';
  value.digits.resize(keep);
  if (round_up) {
    int i = keep - 1;
    for (; i >= 0 && value.digits[i] == '9'; --i) value.digits[i] = '0';
    if (i >= 0) {
      ++value.digits[i];
    } else {
      value.digits.insert(value.digits.begin(), '1');
      ++value.exponent;
    }
  }
  while (!value.digits.empty() && value.digits.back() == '0') value.digits.pop_back();
  if (value.digits.empty()) value.exponent = 0;
  return value;
}

static char DigitAt(const DecimalDigits& d, int position) {
  // position 0 is the first digit after the point of 0.digits × 10^exponent
  const int index = position;
  return index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[index] : '0';
}

std::string FloatToFixedText(double value, int decimals, bool thousands) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  DecimalDigits d = RoundDecimalDigits(ToDecimalDigits(value), decimals);
  std::string integer_part;
  if (d.exponent <= 0) {
    integer_part = "0";
  } else {
    for (int i = 0; i < d.exponent; ++i) integer_part.push_back(DigitAt(d, i));
  }
  if (thousands) {
    std::string grouped;
    const int n = static_cast<int>(integer_part.size());
    for (int i = 0; i < n; ++i) {
      if (i > 0 && (n - i) % 3 == 0) grouped.push_back(',');
      grouped.push_back(integer_part[i]);
    }
    integer_part = std::move(grouped);
  }
  std::string text;
  if (d.negative && !d.digits.empty()) text.push_back('-');
  text += integer_part;
  if (decimals > 0) {
    text.push_back('.');
    for (int i = 0; i < decimals; ++i) text.push_back(DigitAt(d, d.exponent + i));
  }
  return text;
}

std::string FloatToExponentText(double value, int precision, int exponent_digits) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (precision < 1) precision = 1;
  if (precision > 17) precision = 17;
  DecimalDigits d = ToDecimalDigits(value, precision);
  std::string text;
  if (d.negative && !d.digits.empty()) text.push_back('-');
  text.push_back(d.digits.empty() ? '0' : d.digits[0]);
  if (precision > 1) {
    text.push_back('.');
    for (int i = 1; i < precision; ++i) text.push_back(DigitAt(d, i));
  }
  const int exponent = d.digits.empty() ? 0 : d.exponent - 1;
  text.push_back('E');
  text.push_back(exponent < 0 ? '-' : '+');
  std::string digits = std::to_string(std::abs(exponent));
  while (static_cast<int>(digits.size()) < exponent_digits) digits.insert(digits.begin(), '0');
  return text + digits;
}

std::string FloatToGeneralText(double value, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (precision < 1 || precision > 17) precision = 15;
  DecimalDigits d = ToDecimalDigits(value, precision);
  if (d.digits.empty()) return "0";
  std::string text;
  if (d.negative) text.push_back('-');
  const int count = static_cast<int>(d.digits.size());
  if (d.exponent > precision || d.exponent < -3) {
    text.push_back(d.digits[0]);
    if (count > 1) text.append(".").append(d.digits, 1);
    const int exponent = d.exponent - 1;
    text += exponent < 0 ? "E-" : "E";
    return text + std::to_string(std::abs(exponent));
  }
  if (d.exponent <= 0) {
    text += "0.";
    text.append(-d.exponent, '0');
    return text + d.digits;
  }
  for (int i = 0; i < d.exponent; ++i) text.push_back(DigitAt(d, i));
  if (count > d.exponent) text.append(".").append(d.digits, d.exponent);
  return text;
}
