#pragma once
// The engine's one guarded allocator. Every block carries a header before the
// caller's bytes and a signature behind them:
//
//   offset from the caller's pointer p    width  content
//   p - 16 .. p - 10                       7      padding (keeps p 16-byte aligned)
//   p - 9                                  4      requested size (i32)
//   p - 5                                  1      allocation method (0 heap, 1 mapped, 2 global)
//   p - 4                                  4      header signature 0xACCACCAC
//   p                                      size   the caller's bytes
//   p + size                               4      trailer signature 0xACCEACCE
//
// A wrong pointer is recognised by its header signature; a write past the end
// by the trailer when the block is freed.
#include <atomic>
#include <cstdint>

#include "platform/os/CriticalSection.h"

class TVTRMemoryManager {
 public:
  static constexpr uint32_t kHeaderSignature = 0xACCACCAC;
  static constexpr uint32_t kTrailerSignature = 0xACCEACCE;
  static constexpr int32_t kGuardSize = 13;  // header and trailer around the data

  // Raises 30286 for size <= 0, 30004 past the limit, 30015 when the block
  // cannot be obtained. Contents are undefined.
  void* GetMem(int32_t size);
  // GetMem, then zero-filled.
  void* AllocMem(int32_t size);
  // Releases the block and clears the pointer; raises 30001 for a foreign
  // pointer (nothing released) and 30137 after releasing an overrun block.
  void FreeAndNillMem(void*& pointer);
  template <typename T>
  void FreeAndNillMem(T*& pointer) {
    void* p = pointer;
    try {
      FreeAndNillMem(p);
    } catch (...) {
      pointer = static_cast<T*>(p);
      throw;
    }
    pointer = nullptr;
  }
  // Replaces the block by one of new_size bytes keeping the old contents; with
  // zero_growth the bytes past the old size are zero. Errors raise 30014.
  void ReallocMem(void*& pointer, int32_t new_size, bool zero_growth);
  void ReallocMemZeroed(void*& pointer, int32_t new_size) { ReallocMem(pointer, new_size, true); }
  // The requested size of a block; 0 for nil; 30005 for a foreign pointer.
  int32_t GetMemSize(const void* pointer) const;
  // Available physical memory, or the limit when that is smaller; clamped to
  // the 32-bit range the callers size their caches with.
  int32_t GetFreeMemorySize();

  int32_t MemoryLimit() const { return memory_limit_; }
  void SetMemoryLimit(int32_t limit) { memory_limit_ = limit; }
  int64_t BytesInUse() const { return bytes_in_use_.load(); }
  // Blocks obtained so far: lets a test prove that a path allocates nothing.
  int64_t BlocksObtained() const { return blocks_obtained_.load(std::memory_order_relaxed); }

  // The allocation method the table gives for a block of block_size bytes.
  static uint8_t MethodForBlockSize(int64_t block_size);

 private:
  void AddBytes(int64_t delta);

  int32_t memory_limit_ = 0;
  std::atomic<int64_t> bytes_in_use_{0};
  std::atomic<int64_t> blocks_obtained_{0};
  int32_t available_physical_memory_ = 0;
  TCriticalSection lock_;
};

// The process-wide instance, created before any other engine object.
TVTRMemoryManager& EngineMemoryManager();

// Owns a block of the engine memory manager: std::unique_ptr<T, VTRMemoryDeleter>.
struct VTRMemoryDeleter {
  void operator()(void* pointer) const noexcept {
    try {
      EngineMemoryManager().FreeAndNillMem(pointer);
    } catch (...) {
      // An overrun is reported where the block is freed explicitly; a
      // destructor must not throw.
    }
  }
};

// Copies count bytes; correct when the ranges overlap.
void MoveBytes(const void* source, void* destination, int64_t count);
