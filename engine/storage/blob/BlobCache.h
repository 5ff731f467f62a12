#pragma once
// BLOB values attached to record buffers between the moment a cursor writes
// or reads a BLOB field and the moment the record is posted or let go. A
// record buffer names its field's entry by a 32-bit handle (BlobFormat.h), not
// a pointer: a handle is only honoured while the cache lists it, so a stale
// handle in a copied or reloaded buffer finds nothing instead of freed memory.
#include <cstdint>
#include <unordered_map>

#include "engine/foundation/ValueBuffer.h"

// One value as stored: the compressed stream's bytes and what describes them.
struct CachedBlobValue {
  int32_t BlockCount = 0;
  int64_t UncompressedSize = 0;
  bool Modified = false;  // written through a cursor and not yet stored
  VTRBufferPtr Data;      // the stored bytes; nullptr when there are none
  int32_t DataSize = 0;

  const uint8_t* Bytes() const { return Data.get(); }
  // Replaces Data by a copy of `size` bytes the caller fills; an empty value has no buffer.
  uint8_t* Allocate(int64_t size);
};

class TVTRBlobCache {
 public:
  // A new empty entry and its handle, never 0.
  uint32_t Add();
  // The entry a handle names, or nullptr when the handle is not current.
  CachedBlobValue* Find(uint32_t handle);
  // Frees the entry; a handle that is not current is ignored.
  void Remove(uint32_t handle);
  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }

 private:
  std::unordered_map<uint32_t, CachedBlobValue> entries_;
  // Handles count up, so a handle comes back only after 2^32 others.
  uint32_t next_handle_ = 1;
};
