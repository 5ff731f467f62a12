#include "platform/os/Random.h"

#include <cstring>

void RandomSource::Seed(uint64_t seed) {
  std::lock_guard guard(mutex_);
  engine_.seed(seed);
}

uint32_t RandomSource::NextUInt32() {
  std::lock_guard guard(mutex_);
  return static_cast<uint32_t>(engine_() >> 32);
}

int32_t RandomSource::Below(int32_t range) {
  if (range <= 0) return 0;
  // Rejecting the top partial block of the 64-bit space removes modulo bias.
  const uint64_t bound = static_cast<uint64_t>(range);
  const uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
  std::lock_guard guard(mutex_);
  uint64_t value;
  do {
    value = engine_();
  } while (value >= limit);
  return static_cast<int32_t>(value % bound);
}

double RandomSource::NextDouble() {
  std::lock_guard guard(mutex_);
  return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

void RandomSource::Fill(void* buffer, size_t count) {
  auto* out = static_cast<unsigned char*>(buffer);
  std::lock_guard guard(mutex_);
  while (count > 0) {
    const uint64_t value = engine_();
    const size_t n = count < sizeof value ? count : sizeof value;
    std::memcpy(out, &value, n);
    out += n;
    count -= n;
  }
}

RandomSource& DefaultRandom() {
  static RandomSource source(std::random_device{}());
  return source;
}
