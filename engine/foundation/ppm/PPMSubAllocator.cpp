#include "engine/foundation/ppm/PPMSubAllocator.h"

#include <cstring>

using ppm::Ref;

namespace {

constexpr uint32_t kReserveBlockUnits = 128;
constexpr uint32_t kReserveBlocks = 128;
constexpr uint32_t kReserveSize = kReserveBlocks * kReserveBlockUnits * PPMSubAllocator::kUnitSize;
static_assert(kReserveSize == 0x30000);

constexpr std::array<uint8_t, 38> kIndexUnits = {1,  2,  3,  4,  6,   8,   10,  12,  15,  18,  21,  24, 28,
                                                 32, 36, 40, 44, 48,  52,  56,  60,  64,  68,  72,  76, 80,
                                                 84, 88, 92, 96, 100, 104, 108, 112, 116, 120, 124, 128};

// kUnitsIndex[n - 1]: the list whose blocks are the smallest that hold n units.
constexpr std::array<uint8_t, 128> kUnitsIndex = [] {
  std::array<uint8_t, 128> table{};
  int index = 0;
  for (int units = 1; units <= 128; ++units) {
    if (kIndexUnits[index] < units) ++index;
    table[units - 1] = static_cast<uint8_t>(index);
  }
  return table;
}();

constexpr uint32_t BytesOf(int index) {
  return kIndexUnits[index] * PPMSubAllocator::kUnitSize;
}

}  // namespace

PPMSubAllocator::PPMSubAllocator(uint32_t memory_mb) {
  if (memory_mb == 0 || memory_mb > kMaxMemoryMb) return;
  const uint32_t size = memory_mb << 20;
  heap_.reset(static_cast<uint8_t*>(std::calloc(kUnitSize + size, 1)));
  units_start_ = kUnitSize + kReserveSize;
  units_end_ = kUnitSize + kUnitSize * (size / kUnitSize);
  Reset();
}

void PPMSubAllocator::Reset() {
  free_list_.fill(0);
  lo_unit_ = units_start_;
  hi_unit_ = units_end_;
  reserve_released_ = false;
}

void PPMSubAllocator::InsertNode(Ref block, int index) {
  ppm::Store32(Ptr(block), free_list_[index]);
  free_list_[index] = block;
}

Ref PPMSubAllocator::RemoveNode(int index) {
  const Ref block = free_list_[index];
  free_list_[index] = ppm::Load32(Ptr(block));
  return block;
}

// Puts the part of a block of class old_index beyond the first kIndexUnits[new_index] units on the free
// lists, as one block or as two when no class has its exact size.
void PPMSubAllocator::SplitBlock(Ref block, int old_index, int new_index) {
  uint32_t rest = kIndexUnits[old_index] - kIndexUnits[new_index];
  Ref tail = block + BytesOf(new_index);
  int index = kUnitsIndex[rest - 1];
  if (kIndexUnits[index] != rest) {
    --index;
    InsertNode(tail, index);
    tail += BytesOf(index);
    rest -= kIndexUnits[index];
  }
  InsertNode(tail, kUnitsIndex[rest - 1]);
}

Ref PPMSubAllocator::AllocContext() {
  if (hi_unit_ != lo_unit_) return hi_unit_ -= kUnitSize;
  if (free_list_[0] != 0) return RemoveNode(0);
  return AllocUnitsRare(0);
}

Ref PPMSubAllocator::AllocUnits(uint32_t units) {
  const int index = kUnitsIndex[units - 1];
  if (free_list_[index] != 0) return RemoveNode(index);
  if (hi_unit_ - lo_unit_ >= BytesOf(index)) {
    const Ref block = lo_unit_;
    lo_unit_ += BytesOf(index);
    return block;
  }
  return AllocUnitsRare(index);
}

// The two ends of the unit area have met and the list of the wanted class is empty.
Ref PPMSubAllocator::AllocUnitsRare(int index) {
  if (!reserve_released_) {
    reserve_released_ = true;
    for (uint32_t k = 0; k < kReserveBlocks; ++k)
      InsertNode(kUnitSize + k * BytesOf(kIndexCount - 1), kIndexCount - 1);
  }
  for (int larger = index; larger < kIndexCount; ++larger) {
    if (free_list_[larger] == 0) continue;
    const Ref block = RemoveNode(larger);
    if (larger != index) SplitBlock(block, larger, index);
    return block;
  }
  return 0;
}

Ref PPMSubAllocator::ExpandUnits(Ref block, uint32_t old_units) {
  const int old_index = kUnitsIndex[old_units - 1];
  if (old_index == kUnitsIndex[old_units]) return block;
  const Ref grown = AllocUnits(old_units + 1);
  if (grown != 0) {
    std::memcpy(Ptr(grown), Ptr(block), old_units * kUnitSize);
    InsertNode(block, old_index);
  }
  return grown;
}

Ref PPMSubAllocator::ShrinkUnits(Ref block, uint32_t old_units, uint32_t new_units) {
  const int old_index = kUnitsIndex[old_units - 1];
  const int new_index = kUnitsIndex[new_units - 1];
  if (old_index == new_index) return block;
  if (free_list_[new_index] != 0) {
    const Ref moved = RemoveNode(new_index);
    std::memcpy(Ptr(moved), Ptr(block), new_units * kUnitSize);
    InsertNode(block, old_index);
    return moved;
  }
  SplitBlock(block, old_index, new_index);
  return block;
}

void PPMSubAllocator::FreeUnits(Ref block, uint32_t units) {
  InsertNode(block, kUnitsIndex[units - 1]);
}
