#pragma once
// Byte and word routines shared by the ciphers, the hashes and the protection
// passes. Words are loaded from byte buffers with memcpy, so buffers need no
// particular alignment.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

inline uint32_t SwapBytes32(uint32_t value) {
  return __builtin_bswap32(value);
}
// Reverses the byte order of count 32-bit words; source and dest may be the same.
void SwapBytes32Buffer(const void* source, void* dest, size_t count);

inline uint32_t RotateLeft32(uint32_t value, int shift) {
  return std::rotl(value, shift);
}
inline uint32_t RotateRight32(uint32_t value, int shift) {
  return std::rotr(value, shift);
}

// dest = a xor b over count bytes, worked from the end; dest may be a or b.
void XorBytes(const void* a, const void* b, size_t count, void* dest);
// 0 when equal, otherwise the difference of the first unequal bytes (a - b).
int CompareBytes(const void* a, const void* b, size_t count);

// Overwrites every byte with the top byte of a linear congruential sequence
// that the byte itself is mixed into; returns the final seed.
uint32_t RandomXorFill(uint32_t seed, void* buffer, size_t length);
// Milliseconds of the current UTC time of day, mixed with a high-resolution counter.
uint32_t TimeRandomSeed();

// Zero-fills memory that held key material; the compiler may not drop it.
void SecureWipe(void* buffer, size_t length);

inline uint32_t LoadLE32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint32_t LoadBE32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
inline void StoreLE32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}
inline void StoreBE32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 24);
  p[1] = uint8_t(v >> 16);
  p[2] = uint8_t(v >> 8);
  p[3] = uint8_t(v);
}
inline uint64_t LoadBE64(const uint8_t* p) {
  return uint64_t(LoadBE32(p)) << 32 | LoadBE32(p + 4);
}
inline void StoreBE64(uint8_t* p, uint64_t v) {
  StoreBE32(p, uint32_t(v >> 32));
  StoreBE32(p + 4, uint32_t(v));
}
