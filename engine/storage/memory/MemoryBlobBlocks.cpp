#include "engine/storage/memory/MemoryBlobBlocks.h"

#include "engine/storage/pager/ByteOrder.h"

uint32_t TVTRMemoryBlobBlocks::Add(TVTRMemoryBlobBlock block) {
  while (next_handle_ == 0 || blocks_.contains(next_handle_)) ++next_handle_;
  const uint32_t handle = next_handle_++;
  blocks_.emplace(handle, std::move(block));
  return handle;
}

TVTRMemoryBlobBlock* TVTRMemoryBlobBlocks::Find(uint32_t handle) {
  const auto it = blocks_.find(handle);
  return it == blocks_.end() ? nullptr : &it->second;
}

uint32_t LoadBlobHandle(const uint8_t* field) {
  return LoadU32(field);
}

void StoreBlobHandle(uint8_t* field, uint32_t handle) {
  StoreU32(field, handle);
}
