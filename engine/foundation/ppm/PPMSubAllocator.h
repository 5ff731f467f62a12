#pragma once
// Memory of the PPM model: one zero-filled heap cut into 12-byte units and addressed by 32-bit offsets,
// so that the model fills it, and restarts, at the same symbol on every machine.
//
//   offset                              content
//   0 .. 11                             never handed out: offset 0 is the null reference
//   12 .. 12 + 30000h                   reserve, handed out once as 128 blocks of 128 units
//   12 + 30000h .. 12 + 12 x (size div 12)
//                                       unit area: blocks taken upward from its low end, single units
//                                       (contexts) downward from its high end
//
// Free blocks sit on 38 lists by size in units (1, 2, 3, 4, 6, 8, 10, 12, 15, 18, 21, 24, 28 .. 128 by 4);
// a free block holds the reference of the next one in its first 4 bytes.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "engine/foundation/ppm/PPMRecords.h"

class PPMSubAllocator {
 public:
  static constexpr uint32_t kUnitSize = 12;
  static constexpr uint32_t kMaxMemoryMb = 256;

  // Takes a heap of memory_mb MiB (1 to 256) from the platform heap; Valid() is false when it cannot.
  explicit PPMSubAllocator(uint32_t memory_mb);

  bool Valid() const { return heap_ != nullptr; }
  // Forgets every block: the whole heap is free again.
  void Reset();

  // Each returns 0 when memory is exhausted.
  ppm::Ref AllocContext();
  ppm::Ref AllocUnits(uint32_t units);
  // Grows a block of old_units (1 to 127) by one unit, moving it when its size class changes; on failure
  // the old block is kept.
  ppm::Ref ExpandUnits(ppm::Ref block, uint32_t old_units);
  // Never fails: the block moves to a free block of the smaller class or gives back its tail.
  ppm::Ref ShrinkUnits(ppm::Ref block, uint32_t old_units, uint32_t new_units);
  void FreeUnits(ppm::Ref block, uint32_t units);

  uint8_t* Ptr(ppm::Ref ref) const { return heap_.get() + ref; }
  ppm::Ref RefOf(const uint8_t* p) const { return static_cast<ppm::Ref>(p - heap_.get()); }

 private:
  static constexpr int kIndexCount = 38;

  struct FreeDeleter {
    void operator()(uint8_t* p) const noexcept { std::free(p); }
  };

  void InsertNode(ppm::Ref block, int index);
  ppm::Ref RemoveNode(int index);
  void SplitBlock(ppm::Ref block, int old_index, int new_index);
  ppm::Ref AllocUnitsRare(int index);

  std::unique_ptr<uint8_t[], FreeDeleter> heap_;
  uint32_t units_start_ = 0;
  uint32_t units_end_ = 0;
  uint32_t lo_unit_ = 0;
  uint32_t hi_unit_ = 0;
  bool reserve_released_ = false;
  std::array<ppm::Ref, kIndexCount> free_list_{};
};
