#pragma once
// TVTRRecordSlots: fixed-size record slots in memory, the store of memory
// tables and of the records a temporary table keeps in memory. Slots live in
// chunks of the engine memory manager that never move: growing adds a chunk,
// so no record is ever copied to grow the store and no block exceeds
// kMaxChunkBytes, whatever the number of slots. Slot contents start undefined.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRMemory.h"

class TVTRRecordSlots {
 public:
  static constexpr int32_t kMaxChunkBytes = 16 * 1024 * 1024;

  // `growth_step` slots are added at a time (fewer for records so large that
  // the chunk would exceed kMaxChunkBytes; at least one).
  TVTRRecordSlots(int32_t record_size, int32_t growth_step);

  int64_t Capacity() const { return static_cast<int64_t>(chunks_.size()) * slots_per_chunk_; }
  // Adds chunks until `count` slots fit.
  void Reserve(int64_t count);
  // Adds one chunk.
  void Grow();
  // The slot's bytes; the slot lies below Capacity().
  uint8_t* At(int64_t slot) {
    VTR_ASSERT(slot >= 0 && slot < Capacity());
    return chunks_[static_cast<size_t>(slot / slots_per_chunk_)].get() +
           slot % slots_per_chunk_ * record_size_;
  }
  const uint8_t* At(int64_t slot) const { return const_cast<TVTRRecordSlots*>(this)->At(slot); }
  // Frees every chunk.
  void Clear() { chunks_.clear(); }

  int32_t RecordSize() const { return record_size_; }
  int32_t SlotsPerChunk() const { return slots_per_chunk_; }

 private:
  using Chunk = std::unique_ptr<uint8_t, VTRMemoryDeleter>;

  int32_t record_size_;
  int32_t slots_per_chunk_;
  std::vector<Chunk> chunks_;
};
