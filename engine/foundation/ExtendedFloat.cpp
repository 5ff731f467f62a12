#include "engine/foundation/ExtendedFloat.h"

#include <cmath>
#include <limits>

namespace {

constexpr int kBias = 16383;
constexpr int kMaxExponent = 0x7FFF;
constexpr uint64_t kIntegerBit = uint64_t{1} << 63;

void Store(uint8_t* image, uint64_t significand, int exponent, bool negative) {
  for (int i = 0; i < 8; ++i) image[i] = static_cast<uint8_t>(significand >> (8 * i));
  const uint16_t top = static_cast<uint16_t>(exponent | (negative ? 0x8000 : 0));
  image[8] = static_cast<uint8_t>(top);
  image[9] = static_cast<uint8_t>(top >> 8);
}

}  // namespace

void EncodeExtended(long double value, uint8_t* image) {
  const bool negative = std::signbit(value);
  if (std::isnan(value)) return Store(image, kIntegerBit | (kIntegerBit >> 1), kMaxExponent, negative);
  if (std::isinf(value)) return Store(image, kIntegerBit, kMaxExponent, negative);
  if (value == 0) return Store(image, 0, 0, negative);
  int exponent;
  // |value| = fraction × 2^exponent with fraction in [0.5, 1): 64 bits of the
  // fraction are the significand, its top bit the integer bit.
  const long double fraction = std::frexp(std::fabs(value), &exponent);
  auto significand = static_cast<uint64_t>(std::ldexp(fraction, 64));
  int biased = exponent - 1 + kBias;
  if (biased >= kMaxExponent) return Store(image, kIntegerBit, kMaxExponent, negative);
  if (biased <= 0) {
    // Denormal: the exponent field stays 0 and stands for 1 - bias.
    const int shift = 1 - biased;
    significand = shift >= 64 ? 0 : significand >> shift;
    biased = 0;
  }
  Store(image, significand, biased, negative);
}

long double DecodeExtended(const uint8_t* image) {
  uint64_t significand = 0;
  for (int i = 0; i < 8; ++i) significand |= uint64_t{image[i]} << (8 * i);
  const int top = image[8] | (image[9] << 8);
  const bool negative = (top & 0x8000) != 0;
  const int exponent = top & kMaxExponent;
  long double magnitude;
  if (exponent == kMaxExponent) {
    magnitude = (significand << 1) == 0 ? std::numeric_limits<long double>::infinity()
                                        : std::numeric_limits<long double>::quiet_NaN();
  } else {
    // value = significand × 2^(exponent - bias - 63); exponent 0 counts as 1.
    magnitude = std::ldexp(static_cast<long double>(significand), std::max(exponent, 1) - kBias - 63);
  }
  return negative ? -magnitude : magnitude;
}
