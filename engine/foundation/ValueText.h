#pragma once
// Text rules of value conversion in the fixed locale: number parsing with "."
// as the decimal separator whatever the machine's locale, and the code page
// 874 <-> UTF-16 mapping of ANSI and wide text. Failures raise EConvertError.
#include <cstdint>
#include <string>
#include <string_view>

// Leading blanks, a sign, decimal digits (or hexadecimal after "$" or "0x");
// nothing after them. Values outside the type raise.
int32_t ParseInt32(std::string_view text);
int64_t ParseInt64(std::string_view text);
// Blanks around, a sign, digits with at most one ".", an optional exponent.
long double ParseFloat(std::string_view text);

// Exact in both directions: a byte the code page leaves undefined, or a
// character it cannot hold, raises.
std::u16string AnsiToWide(std::string_view text);
std::string WideToAnsi(std::u16string_view text);
// The code page 874 byte of a character; false when it has none.
bool WideCharToAnsi(char16_t c, uint8_t& byte);
