#pragma once
// The stored 80-bit extended float (base type 14): 10 bytes little-endian,
// a 64-bit significand with an explicit integer bit, then 15 exponent bits
// (bias 16383) and the sign bit. The conversions work field by field, so they
// do not depend on how the compiler lays out long double.
#include <cstdint>

inline constexpr int32_t kExtendedSize = 10;

// Writes kExtendedSize bytes. Exact when long double is the 80-bit format;
// otherwise the value is the nearest the wider type can hold.
void EncodeExtended(long double value, uint8_t* image);
long double DecodeExtended(const uint8_t* image);
