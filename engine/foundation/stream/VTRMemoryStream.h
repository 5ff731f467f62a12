#pragma once
// A growable stream in a block of the engine memory manager. Positions and
// sizes fit 32 bits; the position may lie past the end, and a write there
// zero-fills the gap so no stale bytes can reach a stored value. A seek
// outside 0..2^31-1 fails (returns -1) and leaves the position unchanged.
#include <cstdint>

#include "engine/foundation/stream/VTRStream.h"

class TVTRMemoryStream : public TVTRStream {
 public:
  // Takes ownership of `block` (a block of the engine memory manager, or nil);
  // its requested size becomes the stream's size. Position 0.
  explicit TVTRMemoryStream(void* block = nullptr);
  // Frees the memory.
  ~TVTRMemoryStream() override;

  int32_t Read(void* buffer, int32_t count) override;
  // Writes all count bytes, or none when the stream cannot grow that far.
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t GetSize() override { return size_; }
  // Sizes <= 0 free the memory; growth is zero-filled. The position moves to
  // the new end when it lay beyond it.
  void SetSize(int64_t new_size) override;

  // The bytes, nil while the stream has no memory.
  void* Memory() const { return memory_; }
  // Hands the block (at least the stream's size) to the caller, who frees it
  // as an engine memory block, and leaves the stream empty; nil when the
  // stream holds no bytes.
  void* TakeMemory() noexcept;

 private:
  void Reallocate(int32_t capacity);
  void Release() noexcept;

  char* memory_ = nullptr;
  int32_t capacity_ = 0;  // bytes of the block; writes grow it geometrically
  int32_t size_ = 0;
  int32_t position_ = 0;
};
