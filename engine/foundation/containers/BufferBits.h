#pragma once
// Single bits of a byte buffer (the null flags of a record buffer): bit n is
// bit n mod 8 of byte n div 8. The caller guarantees the buffer holds the bit.
#include <cstdint>

inline bool GetBufferBit(int32_t n, const void* buffer) {
  return (static_cast<const uint8_t*>(buffer)[n / 8] >> (n % 8)) & 1;
}

inline void SetBufferBit(bool value, int32_t n, void* buffer) {
  uint8_t& byte = static_cast<uint8_t*>(buffer)[n / 8];
  const auto mask = static_cast<uint8_t>(1u << (n % 8));
  byte = value ? byte | mask : byte & ~mask;
}
