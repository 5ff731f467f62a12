#include "engine/storage/memory/RecordSlots.h"

#include <algorithm>

#include "engine/foundation/Invariant.h"

TVTRRecordSlots::TVTRRecordSlots(int32_t record_size, int32_t growth_step)
    : record_size_(record_size),
      slots_per_chunk_(std::max(1, std::min(growth_step, kMaxChunkBytes / std::max(1, record_size)))) {
  VTR_ASSERT(record_size > 0);
}

void TVTRRecordSlots::Reserve(int64_t count) {
  while (Capacity() < count) Grow();
}

void TVTRRecordSlots::Grow() {
  const int64_t bytes = int64_t{slots_per_chunk_} * record_size_;
  // A single record above 2 GiB cannot be held by the engine memory manager either.
  VTR_ASSERT(bytes <= INT32_MAX);
  Chunk chunk(static_cast<uint8_t*>(EngineMemoryManager().GetMem(static_cast<int32_t>(bytes))));
  chunks_.push_back(std::move(chunk));
}
