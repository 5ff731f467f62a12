#include "engine/foundation/cipher/ByteUtil.h"

#include <chrono>
#include <ctime>

void SwapBytes32Buffer(const void* source, void* dest, size_t count) {
  const auto* in = static_cast<const uint8_t*>(source);
  auto* out = static_cast<uint8_t*>(dest);
  for (size_t i = 0; i < count; ++i, in += 4, out += 4) StoreBE32(out, LoadLE32(in));
}

void XorBytes(const void* a, const void* b, size_t count, void* dest) {
  const auto* pa = static_cast<const uint8_t*>(a);
  const auto* pb = static_cast<const uint8_t*>(b);
  auto* pd = static_cast<uint8_t*>(dest);
  while (count > 0) {
    --count;
    pd[count] = pa[count] ^ pb[count];
  }
}

int CompareBytes(const void* a, const void* b, size_t count) {
  const auto* pa = static_cast<const uint8_t*>(a);
  const auto* pb = static_cast<const uint8_t*>(b);
  for (size_t i = 0; i < count; ++i) {
    if (pa[i] != pb[i]) return int(pa[i]) - int(pb[i]);
  }
  return 0;
}

uint32_t RandomXorFill(uint32_t seed, void* buffer, size_t length) {
  auto* p = static_cast<uint8_t*>(buffer);
  for (size_t i = 0; i < length; ++i) {
    seed = (seed ^ p[i]) * 134775813u + 1u;
    p[i] = uint8_t(seed >> 24);
  }
  return seed;
}

uint32_t TimeRandomSeed() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const auto day_ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % (24 * 60 * 60 * 1000);
  const uint64_t counter = uint64_t(steady_clock::now().time_since_epoch().count());
  return uint32_t(day_ms) ^ uint32_t(counter) ^ uint32_t(counter >> 32);
}

void SecureWipe(void* buffer, size_t length) {
  if (length > 0) explicit_bzero(buffer, length);
}
