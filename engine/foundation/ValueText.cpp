#include "engine/foundation/ValueText.h"

#include <array>
#include <charconv>
#include <limits>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

[[noreturn]] void NotAnInteger(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

// The characters of bytes 0x80..0xFF; 0 where the code page defines none.
constexpr std::array<char16_t, 128> MakeHighHalf() {
  std::array<char16_t, 128> table{};
  table[0x80 - 0x80] = 0x20AC;
  table[0x85 - 0x80] = 0x2026;
  const char16_t quotes[] = {0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014};
  for (int i = 0; i < 7; ++i) table[0x91 - 0x80 + i] = quotes[i];
  table[0xA0 - 0x80] = 0x00A0;
  for (int b = 0xA1; b <= 0xDA; ++b) table[b - 0x80] = static_cast<char16_t>(0x0E01 + b - 0xA1);
  for (int b = 0xDF; b <= 0xFB; ++b) table[b - 0x80] = static_cast<char16_t>(0x0E3F + b - 0xDF);
  return table;
}

constexpr std::array<char16_t, 128> kHighHalf = MakeHighHalf();

}  // namespace

int64_t ParseInt64(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  // Parse the magnitude unsigned so that the smallest value has room.
  uint64_t magnitude = 0;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  if (first == last || *first == '+' || *first == '-') NotAnInteger(text);
  const auto [end, error] = std::from_chars(first, last, magnitude, base);
  if (error != std::errc() || end != last) NotAnInteger(text);
  const uint64_t limit = uint64_t{std::numeric_limits<int64_t>::max()} + (negative ? 1 : 0);
  if (magnitude > limit) NotAnInteger(text);
  return negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
}

int32_t ParseInt32(std::string_view text) {
  const int64_t value = ParseInt64(text);
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    NotAnInteger(text);
  return static_cast<int32_t>(value);
}

long double ParseFloat(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  const std::string_view number = text.substr(begin, end - begin);
  // Check the shape first: from_chars would also take "inf", "nan" and hex.
  size_t i = 0, digits = 0;
  if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
  for (; i < number.size() && IsDigit(number[i]); ++i) ++digits;
  if (i < number.size() && number[i] == '.')
    for (++i; i < number.size() && IsDigit(number[i]); ++i) ++digits;
  bool valid = digits > 0;
  if (valid && i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
    ++i;
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
    const size_t exponent_start = i;
    while (i < number.size() && IsDigit(number[i])) ++i;
    valid = i > exponent_start;
  }
  long double value = 0;
  if (valid && i == number.size()) {
    const size_t skip = number[0] == '+' ? 1 : 0;
    const auto [stop, error] = std::from_chars(number.data() + skip, number.data() + number.size(), value);
    if (error == std::errc() && stop == number.data() + number.size()) return value;
  }
  throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
}

bool WideCharToAnsi(char16_t c, uint8_t& byte) {
  if (c < 0x80) {
    byte = static_cast<uint8_t>(c);
    return true;
  }
  for (size_t i = 0; i < kHighHalf.size(); ++i) {
    if (kHighHalf[i] == c) {
      byte = static_cast<uint8_t>(0x80 + i);
      return true;
    }
  }
  return false;
}

std::u16string AnsiToWide(std::string_view text) {
  std::u16string wide(text.size(), u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<uint8_t>(text[i]);
    wide[i] = byte < 0x80 ? byte : kHighHalf[byte - 0x80];
    if (wide[i] == 0 && byte != 0)
      throw EConvertError(Format("Code page 874 has no character for byte $%.2x", int{byte}));
  }
  return wide;
}

std::string WideToAnsi(std::u16string_view text) {
  std::string ansi(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    uint8_t byte;
    if (!WideCharToAnsi(text[i], byte))
      throw EConvertError(Format("Code page 874 cannot hold the character U+%.4x", int{text[i]}));
    ansi[i] = static_cast<char>(byte);
  }
  return ansi;
}
