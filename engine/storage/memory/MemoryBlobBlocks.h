#pragma once
// TVTRMemoryBlobBlocks: the BLOB values of a memory table, one block each,
// named in a record's BLOB field by a 32-bit handle (4 bytes at the field's
// offset, little-endian; 0 with the null bit set when there is no value).
// A handle is honoured only while its block exists, so a stale handle in a
// copied or rolled-back buffer finds nothing instead of freed memory.
//
// A block belongs to the stored record that references it (OwnerSlot), or
// to no record yet (-1): a value saved into a record buffer that has not
// been written. A stored record's blocks are freed when the change that
// drops them commits; a block of no record may be freed at once.
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

struct TVTRMemoryBlobBlock {
  int32_t BlockCount = 0;  // compressed blocks of the value (low 32 bits)
  int64_t UncompressedSize = 0;
  std::vector<uint8_t> Data;  // the value as the compressed BLOB stream keeps it
  int32_t OwnerSlot = -1;
};

class TVTRMemoryBlobBlocks {
 public:
  // Takes the block; returns its handle, never 0.
  uint32_t Add(TVTRMemoryBlobBlock block);
  // The block of a handle, or nullptr when the handle is not current.
  TVTRMemoryBlobBlock* Find(uint32_t handle);
  // Frees the block; a handle that is not current is ignored.
  void Remove(uint32_t handle) { blocks_.erase(handle); }
  void Clear() { blocks_.clear(); }
  size_t Count() const { return blocks_.size(); }

 private:
  std::unordered_map<uint32_t, TVTRMemoryBlobBlock> blocks_;
  // Handles count up, so a freed handle comes back only after 2^32 others.
  uint32_t next_handle_ = 1;
};

// The handle in a record buffer's BLOB field at `field`.
uint32_t LoadBlobHandle(const uint8_t* field);
void StoreBlobHandle(uint8_t* field, uint32_t handle);
