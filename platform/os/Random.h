#pragma once
// A seedable source of pseudo-random numbers (not for secrets). Calls are
// serialised, so one source may be shared by threads.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <random>

class RandomSource {
 public:
  explicit RandomSource(uint64_t seed) : engine_(seed) {}

  void Seed(uint64_t seed);
  uint32_t NextUInt32();
  // 0 <= result < range, evenly distributed; 0 when range <= 0.
  int32_t Below(int32_t range);
  // 0 <= result < 1.
  double NextDouble();
  void Fill(void* buffer, size_t count);

 private:
  std::mutex mutex_;
  std::mt19937_64 engine_;
};

// The process-wide source, seeded from the system at start-up; tests seed it
// to make runs repeatable.
RandomSource& DefaultRandom();
