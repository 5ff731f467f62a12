#include "engine/foundation/VTRMemory.h"

#include <sys/mman.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "engine/foundation/VTRExcept.h"
#include "platform/os/SystemMemory.h"

namespace {

constexpr int64_t kPadding = 7;
constexpr int64_t kHeaderSize = kPadding + 9;  // padding, size, method, signature
constexpr int64_t kTrailerSize = 4;

struct MethodRow {
  int64_t threshold;
  uint8_t method;
};
constexpr MethodRow kMethodTable[] = {{726, 0}, {64500, 2}, {1048576, 0}, {2147483647, 2}};

uint32_t LoadU32(const unsigned char* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
void StoreU32(unsigned char* p, uint32_t v) { std::memcpy(p, &v, 4); }

bool HeaderValid(const void* pointer) {
  return LoadU32(static_cast<const unsigned char*>(pointer) - 4) == TVTRMemoryManager::kHeaderSignature;
}

int32_t RecordedSize(const void* pointer) {
  int32_t size;
  std::memcpy(&size, static_cast<const unsigned char*>(pointer) - 9, 4);
  return size;
}

unsigned char* ObtainBlock(uint8_t method, size_t bytes) {
  switch (method) {
    case 0:
    case 2:
      // Both the class-library heap and fixed global memory are the C heap here.
      return static_cast<unsigned char*>(std::aligned_alloc(16, (bytes + 15) & ~size_t{15}));
    case 1: {
      void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      return p == MAP_FAILED ? nullptr : static_cast<unsigned char*>(p);
    }
    default:
      throw EVTRException::CreateFmt(30340, "Unknown GetMem method type: %d", method);
  }
}

void ReleaseBlock(unsigned char* block, uint8_t method, size_t bytes) {
  if (method == 1)
    munmap(block, bytes);
  else
    std::free(block);
}

}  // namespace

uint8_t TVTRMemoryManager::MethodForBlockSize(int64_t block_size) {
  for (const MethodRow& row : kMethodTable)
    if (row.threshold >= block_size) return row.method;
  return kMethodTable[3].method;
}

void TVTRMemoryManager::AddBytes(int64_t delta) {
  TCriticalSectionGuard guard(lock_);
  bytes_in_use_ += delta;
}

void* TVTRMemoryManager::GetMem(int32_t size) {
  if (size == 0) throw EVTRException(30286, "Cannot allocate 0 bytes");
  // A negative size can only come from a damaged stored length; refuse it before allocating.
  if (size < 0) throw EVTRException(30286, "Cannot allocate " + std::to_string(size) + " bytes");
  if (memory_limit_ != 0 && bytes_in_use_.load() + size > memory_limit_)
    throw EVTRException::CreateFmt(30004, "Memory limit exceeded (Limit = %d bytes)", memory_limit_);
  try {
    const int64_t block_size = int64_t{size} + kGuardSize;
    if (block_size > INT32_MAX) throw Exception("Block of " + std::to_string(size) + " bytes is too large");
    const uint8_t method = MethodForBlockSize(block_size);
    const size_t total = static_cast<size_t>(size + kHeaderSize + kTrailerSize);
    unsigned char* block = ObtainBlock(method, total);
    if (!block) throw Exception("Out of memory");
    unsigned char* data = block + kHeaderSize;
    std::memset(block, 0, kPadding);
    std::memcpy(data - 9, &size, 4);
    data[-5] = method;
    StoreU32(data - 4, kHeaderSignature);
    StoreU32(data + size, kTrailerSignature);
    AddBytes(size);
    blocks_obtained_.fetch_add(1, std::memory_order_relaxed);
    return data;
  } catch (const Exception& e) {
    throw EVTRException::CreateFmt(30015, "GetMem error: %s", e.Message());
  } catch (const std::exception& e) {
    throw EVTRException::CreateFmt(30015, "GetMem error: %s", e.what());
  }
}

void* TVTRMemoryManager::AllocMem(int32_t size) {
  void* p = GetMem(size);
  std::memset(p, 0, static_cast<size_t>(size));
  return p;
}

void TVTRMemoryManager::FreeAndNillMem(void*& pointer) {
  if (!pointer || !HeaderValid(pointer)) throw EVTRException(30001, "Invalid pointer");
  auto* data = static_cast<unsigned char*>(pointer);
  const int32_t size = RecordedSize(pointer);
  const uint8_t method = data[-5];
  const bool overrun = LoadU32(data + size) != kTrailerSignature;
  AddBytes(-int64_t{size});
  // Clear the signature so a second free of the same pointer is caught.
  StoreU32(data - 4, 0);
  ReleaseBlock(data - kHeaderSize, method, static_cast<size_t>(size + kHeaderSize + kTrailerSize));
  pointer = nullptr;
  if (overrun) throw EVTRException(30137, "Memory overrun detected");
}

void TVTRMemoryManager::ReallocMem(void*& pointer, int32_t new_size, bool zero_growth) {
  try {
    if (!pointer || !HeaderValid(pointer)) throw EVTRException(30002, "Invalid pointer");
    const int32_t old_size = RecordedSize(pointer);
    void* replacement = GetMem(new_size);
    std::memcpy(replacement, pointer, static_cast<size_t>(std::min(old_size, new_size)));
    if (zero_growth && old_size < new_size)
      std::memset(static_cast<char*>(replacement) + old_size, 0, static_cast<size_t>(new_size - old_size));
    try {
      FreeAndNillMem(pointer);
    } catch (...) {
      // The old block overran and is released; the caller's pointer is nil and
      // the new block must not leak.
      FreeAndNillMem(replacement);
      throw;
    }
    pointer = replacement;
  } catch (const Exception& e) {
    throw EVTRException::CreateFmt(30014, "ReallocMem error: %s", e.Message());
  }
}

int32_t TVTRMemoryManager::GetMemSize(const void* pointer) const {
  if (!pointer) return 0;
  if (!HeaderValid(pointer)) throw EVTRException(30005, "Invalid pointer");
  return RecordedSize(pointer);
}

int32_t TVTRMemoryManager::GetFreeMemorySize() {
  int64_t available = std::min<int64_t>(AvailablePhysicalMemory(), INT32_MAX);
  if (memory_limit_ != 0) available = std::min<int64_t>(available, memory_limit_);
  available_physical_memory_ = static_cast<int32_t>(available);
  return available_physical_memory_;
}

TVTRMemoryManager& EngineMemoryManager() {
  static TVTRMemoryManager manager;
  return manager;
}

void MoveBytes(const void* source, void* destination, int64_t count) {
  if (count > 0) std::memmove(destination, source, static_cast<size_t>(count));
}
