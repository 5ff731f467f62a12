#pragma once
// Little-endian integers and doubles in byte buffers, as every stored image
// of the database file holds them. Byte-wise, so any alignment is fine.
#include <bit>
#include <cstdint>

inline uint16_t LoadU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
inline uint32_t LoadU32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
inline uint64_t LoadU64(const uint8_t* p) {
  return uint64_t{LoadU32(p)} | uint64_t{LoadU32(p + 4)} << 32;
}
inline int16_t LoadI16(const uint8_t* p) {
  return static_cast<int16_t>(LoadU16(p));
}
inline int32_t LoadI32(const uint8_t* p) {
  return static_cast<int32_t>(LoadU32(p));
}
inline double LoadF64(const uint8_t* p) {
  return std::bit_cast<double>(LoadU64(p));
}

inline void StoreU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void StoreU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void StoreU64(uint8_t* p, uint64_t v) {
  StoreU32(p, static_cast<uint32_t>(v));
  StoreU32(p + 4, static_cast<uint32_t>(v >> 32));
}
inline void StoreI16(uint8_t* p, int16_t v) {
  StoreU16(p, static_cast<uint16_t>(v));
}
inline void StoreI32(uint8_t* p, int32_t v) {
  StoreU32(p, static_cast<uint32_t>(v));
}
inline void StoreF64(uint8_t* p, double v) {
  StoreU64(p, std::bit_cast<uint64_t>(v));
}

// Stored booleans: 0xFF for true, 0 for false; any non-zero byte reads as true.
inline bool LoadBool(const uint8_t* p) {
  return *p != 0;
}
inline void StoreBool(uint8_t* p, bool v) {
  *p = v ? 0xFF : 0;
}
