#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "engine/foundation/ppm/PPMSubAllocator.h"

namespace {

constexpr int kUnitsIn1Mb = (1 << 20) / 12;  // 87381 units of 12 bytes
constexpr int kReserveUnits = 128 * 128;     // the first 30000h bytes
constexpr int kAreaUnits = kUnitsIn1Mb - kReserveUnits;

TEST(PPMSubAllocator, HandsOutTheWholeHeapIncludingTheReserveOnce) {
  PPMSubAllocator memory(1);
  ASSERT_TRUE(memory.Valid());
  int contexts = 0;
  while (memory.AllocContext() != 0) ++contexts;
  EXPECT_EQ(kUnitsIn1Mb, contexts);

  memory.Reset();
  int blocks = 0;
  while (memory.AllocUnits(128) != 0) ++blocks;
  EXPECT_EQ(kAreaUnits / 128 + 128, blocks);
  // The area's remainder, then a freed block split into single units.
  std::vector<ppm::Ref> more;
  ppm::Ref block = 0;
  memory.Reset();
  while ((block = memory.AllocUnits(128)) != 0) more.push_back(block);
  memory.FreeUnits(more.back(), 128);
  contexts = 0;
  while (memory.AllocContext() != 0) ++contexts;
  EXPECT_EQ(kAreaUnits % 128 + 128, contexts);
}

TEST(PPMSubAllocator, RefusesHeapSizesOutsideOneTo256Mb) {
  EXPECT_FALSE(PPMSubAllocator(0).Valid());
  EXPECT_FALSE(PPMSubAllocator(257).Valid());
  EXPECT_TRUE(PPMSubAllocator(256).Valid());
}

// Every live block keeps a mark in all its bytes; any two blocks handed out over the same memory would
// overwrite each other's mark.
TEST(PPMSubAllocator, LiveBlocksNeverOverlap) {
  PPMSubAllocator memory(1);
  struct Block {
    ppm::Ref ref;
    uint32_t units;
    uint8_t mark;
  };
  std::vector<Block> live;
  std::mt19937 rng(7);
  const auto fill = [&](const Block& b) { std::memset(memory.Ptr(b.ref), b.mark, b.units * 12); };
  const auto intact = [&] {
    for (const Block& b : live) {
      const uint8_t* p = memory.Ptr(b.ref);
      for (uint32_t i = 0; i < b.units * 12; ++i)
        if (p[i] != b.mark) return false;
    }
    return true;
  };
  int exhausted = 0;
  for (int step = 0; step < 20000; ++step) {
    const uint32_t action = rng() % 8;
    if (action < 4 || live.empty()) {
      const uint32_t units = action == 0 ? 1 : 1 + rng() % 128;
      const ppm::Ref ref = units == 1 && rng() % 2 ? memory.AllocContext() : memory.AllocUnits(units);
      if (ref == 0) {
        ++exhausted;
        ASSERT_TRUE(intact()) << step;
        for (size_t i = 0; i < live.size(); i += 2) memory.FreeUnits(live[i].ref, live[i].units);
        std::erase_if(live, [&, i = size_t{0}](const Block&) mutable { return i++ % 2 == 0; });
        continue;
      }
      live.push_back({ref, units, static_cast<uint8_t>(rng())});
      fill(live.back());
      continue;
    }
    Block& b = live[rng() % live.size()];
    if (action < 6) {
      memory.FreeUnits(b.ref, b.units);
      b = live.back();
      live.pop_back();
    } else if (action == 6 && b.units < 128) {
      const ppm::Ref grown = memory.ExpandUnits(b.ref, b.units);
      if (grown == 0) continue;
      b.ref = grown;
      ++b.units;
      fill(b);
    } else if (b.units > 1) {
      const uint32_t units = 1 + rng() % (b.units - 1);
      b.ref = memory.ShrinkUnits(b.ref, b.units, units);
      b.units = units;
      fill(b);
    }
  }
  EXPECT_TRUE(intact());
  EXPECT_GT(exhausted, 0);
}

}  // namespace
