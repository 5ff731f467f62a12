#pragma once
// ANSI (code page 874) and wide (UTF-16) text of values. Exact in both
// directions: a byte the code page leaves undefined, or a character it cannot
// hold, raises EConvertError.
#include <cstdint>
#include <string>
#include <string_view>

std::u16string AnsiToWide(std::string_view text);
std::string WideToAnsi(std::u16string_view text);
// The code page 874 byte of a UTF-16 code unit; false when it has none.
bool WideCharToAnsi(char16_t c, uint8_t& byte);
