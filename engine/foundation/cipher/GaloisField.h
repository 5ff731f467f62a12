#pragma once
// Arithmetic in GF(2^8) modulo a given polynomial (with its x^8 bit), for the
// compile-time tables of the block ciphers.
#include <cstdint>

constexpr uint8_t GfMultiply(uint8_t a, uint8_t b, uint16_t polynomial) {
  uint16_t x = a;
  uint8_t product = 0;
  for (; b != 0; b >>= 1) {
    if (b & 1) product ^= uint8_t(x);
    x <<= 1;
    if (x & 0x100) x ^= polynomial;
  }
  return product;
}

// The multiplicative inverse (a^254); 0 maps to 0.
constexpr uint8_t GfInverse(uint8_t a, uint16_t polynomial) {
  uint8_t result = 1;
  uint8_t power = a;
  for (int exponent = 254; exponent != 0; exponent >>= 1) {
    if (exponent & 1) result = GfMultiply(result, power, polynomial);
    power = GfMultiply(power, power, polynomial);
  }
  return a == 0 ? 0 : result;
}
