#pragma once
// Records of the PPM model inside the sub-allocator's heap. They are read and written byte-wise, so they
// need no alignment and have the same size on every machine; a reference is a 32-bit heap offset.
//
// State, 6 bytes (an array of n states fills (n + 1) div 2 units):
//   0  u8   symbol
//   1  u8   frequency
//   2  u32  successor: a context, 0 for none, or a text position tagged with kTextTag (the context to
//           follow is not built yet; the text tells which symbol came next there)
//
// Context, one 12-byte unit:
//   0  u16  number of symbols (0 only for the top context of a fresh model)
//   2  u16  frequency total: the symbols' frequencies plus the escape's    } a context with one symbol
//   4  u32  reference of the state array                                  } keeps it here, at offset 2
//   8  u32  reference of the suffix context, 0 for the order-0 context
#include <cstdint>
#include <cstring>

namespace ppm {

using Ref = uint32_t;

constexpr int kStateSize = 6;
constexpr Ref kTextTag = 0x80000000u;

inline uint16_t Load16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline void Store16(uint8_t* p, unsigned v) {
  const auto narrow = static_cast<uint16_t>(v);
  std::memcpy(p, &narrow, sizeof narrow);
}
inline void Store32(uint8_t* p, uint32_t v) {
  std::memcpy(p, &v, sizeof v);
}

inline uint8_t& Symbol(uint8_t* state) {
  return state[0];
}
inline uint8_t& Freq(uint8_t* state) {
  return state[1];
}
inline Ref Successor(const uint8_t* state) {
  return Load32(state + 2);
}
inline void SetSuccessor(uint8_t* state, Ref successor) {
  Store32(state + 2, successor);
}
inline void SetState(uint8_t* state, unsigned symbol, unsigned freq, Ref successor) {
  state[0] = static_cast<uint8_t>(symbol);
  state[1] = static_cast<uint8_t>(freq);
  SetSuccessor(state, successor);
}
inline void SwapStates(uint8_t* a, uint8_t* b) {
  uint8_t t[kStateSize];
  std::memcpy(t, a, kStateSize);
  std::memcpy(a, b, kStateSize);
  std::memcpy(b, t, kStateSize);
}

inline unsigned NumStats(const uint8_t* context) {
  return Load16(context);
}
inline void SetNumStats(uint8_t* context, unsigned n) {
  Store16(context, n);
}
inline unsigned SummFreq(const uint8_t* context) {
  return Load16(context + 2);
}
inline void SetSummFreq(uint8_t* context, unsigned total) {
  Store16(context + 2, total);
}
inline Ref Stats(const uint8_t* context) {
  return Load32(context + 4);
}
inline void SetStats(uint8_t* context, Ref stats) {
  Store32(context + 4, stats);
}
inline Ref Suffix(const uint8_t* context) {
  return Load32(context + 8);
}
inline void SetSuffix(uint8_t* context, Ref suffix) {
  Store32(context + 8, suffix);
}
inline uint8_t* OneState(uint8_t* context) {
  return context + 2;
}

inline bool IsContext(Ref successor) {
  return successor != 0 && (successor & kTextTag) == 0;
}
inline bool IsTextPosition(Ref successor) {
  return (successor & kTextTag) != 0;
}
inline uint32_t TextPosition(Ref successor) {
  return successor & ~kTextTag;
}

}  // namespace ppm
