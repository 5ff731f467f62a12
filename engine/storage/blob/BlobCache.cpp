#include "engine/storage/blob/BlobCache.h"

#include <limits>
#include <string>

#include "engine/foundation/VTRExcept.h"

uint8_t* CachedBlobValue::Allocate(int64_t size) {
  // Values are held whole in one block of the engine memory manager.
  if (size < 0 || size > std::numeric_limits<int32_t>::max())
    throw EVTRException(30286, "Cannot allocate " + std::to_string(size) + " bytes");
  Data.reset(size > 0 ? static_cast<uint8_t*>(EngineMemoryManager().GetMem(static_cast<int32_t>(size)))
                      : nullptr);
  DataSize = static_cast<int32_t>(size);
  return Data.get();
}

uint32_t TVTRBlobCache::Add() {
  while (next_handle_ == 0 || entries_.contains(next_handle_)) ++next_handle_;
  const uint32_t handle = next_handle_++;
  entries_.try_emplace(handle);
  return handle;
}

CachedBlobValue* TVTRBlobCache::Find(uint32_t handle) {
  const auto it = entries_.find(handle);
  return it == entries_.end() ? nullptr : &it->second;
}

void TVTRBlobCache::Remove(uint32_t handle) {
  entries_.erase(handle);
}
