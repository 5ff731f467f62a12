#pragma once
// Numbers to text and back with the fixed locale: "." is always the decimal
// separator, whatever the machine's locale says. Bad text raises EConvertError
// with the class library's messages.
#include <cstdint>
#include <string>
#include <string_view>

std::string IntToStr(int64_t value);
// Upper-case hexadecimal, zero-filled to at least `digits`; negative values
// show their two's complement in 8 (int32) or 16 (int64) digits.
std::string IntToHex(int32_t value, int digits);
std::string IntToHex(int64_t value, int digits);

// Leading blanks, a sign, then decimal digits or hexadecimal after "$" or "0x".
int32_t StrToInt(std::string_view text);
int32_t StrToIntDef(std::string_view text, int32_t fallback);
int64_t StrToInt64(std::string_view text);
bool TryStrToInt(std::string_view text, int32_t& value);
bool TryStrToInt64(std::string_view text, int64_t& value);

// Blanks around, a sign, digits with at most one ".", an optional exponent
// ("e" or "E", sign, digits). No thousands separators; no INF or NAN.
double StrToFloat(std::string_view text);
bool TryStrToFloat(std::string_view text, double& value);
// The general format with up to 15 significant digits.
std::string FloatToStr(double value);
