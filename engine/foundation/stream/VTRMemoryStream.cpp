#include "engine/foundation/stream/VTRMemoryStream.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "engine/foundation/VTRMemory.h"

namespace {

// The largest block the memory manager hands out.
constexpr int64_t kMaxCapacity = INT32_MAX - TVTRMemoryManager::kGuardSize;

}  // namespace

TVTRMemoryStream::TVTRMemoryStream(void* block) : memory_(static_cast<char*>(block)) {
  if (memory_) capacity_ = size_ = EngineMemoryManager().GetMemSize(memory_);
}

TVTRMemoryStream::~TVTRMemoryStream() {
  Release();
}

void TVTRMemoryStream::Release() noexcept {
  if (memory_) VTRMemoryDeleter{}(memory_);
  memory_ = nullptr;
  capacity_ = size_ = 0;
}

void* TVTRMemoryStream::TakeMemory() noexcept {
  void* block = size_ > 0 ? memory_ : nullptr;
  if (block == nullptr) Release();
  memory_ = nullptr;
  capacity_ = size_ = position_ = 0;
  return block;
}

void TVTRMemoryStream::Reallocate(int32_t capacity) {
  void* block = memory_;
  try {
    if (block)
      EngineMemoryManager().ReallocMem(block, capacity, false);
    else
      block = EngineMemoryManager().GetMem(capacity);
  } catch (...) {
    // A failed request keeps the old block; an overrun one is released with it.
    if (memory_ && !block) {
      memory_ = nullptr;
      capacity_ = size_ = position_ = 0;
    }
    throw;
  }
  memory_ = static_cast<char*>(block);
  capacity_ = capacity;
}

int32_t TVTRMemoryStream::Read(void* buffer, int32_t count) {
  if (position_ >= size_ || count < 1) return 0;
  const int32_t n = std::min(count, size_ - position_);
  std::memcpy(buffer, memory_ + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int32_t TVTRMemoryStream::Write(const void* buffer, int32_t count) {
  if (count < 1) return 0;
  const int64_t end = int64_t{position_} + count;
  if (end > kMaxCapacity) return 0;
  if (end > capacity_) {
    const int64_t grown = std::max<int64_t>(end, capacity_ + capacity_ / 2);
    Reallocate(static_cast<int32_t>(std::min(grown, kMaxCapacity)));
  }
  if (position_ > size_) std::memset(memory_ + size_, 0, static_cast<size_t>(position_ - size_));
  std::memcpy(memory_ + position_, buffer, static_cast<size_t>(count));
  position_ = static_cast<int32_t>(end);
  size_ = std::max(size_, position_);
  return count;
}

int64_t TVTRMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base =
      origin == TSeekOrigin::soBeginning ? 0 : (origin == TSeekOrigin::soCurrent ? position_ : size_);
  if (offset > INT32_MAX - base || offset < -base) return -1;
  position_ = static_cast<int32_t>(base + offset);
  return position_;
}

void TVTRMemoryStream::SetSize(int64_t new_size) {
  if (new_size <= 0) {
    Release();
    position_ = 0;
    return;
  }
  if (new_size > kMaxCapacity)
    throw EStreamError("Memory stream cannot hold " + std::to_string(new_size) + " bytes");
  const auto size = static_cast<int32_t>(new_size);
  Reallocate(size);
  if (size > size_) std::memset(memory_ + size_, 0, static_cast<size_t>(size - size_));
  size_ = size;
  position_ = std::min(position_, size_);
}
