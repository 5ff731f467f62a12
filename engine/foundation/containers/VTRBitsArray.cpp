#include "engine/foundation/containers/VTRBitsArray.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/cipher/ByteUtil.h"
#include "engine/foundation/stream/VTRStreamChecks.h"
#include "engine/foundation/stream/VTRStreamMessages.h"

namespace {

constexpr const char* kInvalidBitFormat = "Invalid bit no = %d, number of bits = %d";
constexpr const char* kInvalidImageFormat = "Invalid bits array image. Number of bits = %d, set bits = %d";

// The largest block a map of INT32_MAX bits needs, in whole words.
constexpr int32_t kMaxBlockBytes = static_cast<int32_t>((int64_t{INT32_MAX} + 63) / 64 * 8);

int32_t UsedBytes(int32_t bits) {
  return static_cast<int32_t>((int64_t{bits} + 7) / 8);
}
int32_t WordBytes(int32_t bits) {
  return static_cast<int32_t>((int64_t{bits} + 63) / 64 * 8);
}

uint64_t LoadWord(const uint8_t* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

int32_t PopCount(const uint8_t* bytes, int32_t word_bytes) {
  int32_t count = 0;
  for (int32_t i = 0; i < word_bytes; i += 8) count += std::popcount(LoadWord(bytes + i));
  return count;
}

// Clears the bits at and past `bits` in the byte that holds bit `bits`.
void ClearPadding(uint8_t* bytes, int32_t bits) {
  if (bits % 8 != 0) bytes[bits / 8] &= static_cast<uint8_t>((1u << (bits % 8)) - 1);
}

// The position of the r-th set bit (r from 0) of a word with more than r set bits.
int SelectBit(uint64_t word, int32_t r) {
  for (; r > 0; --r) word &= word - 1;
  return std::countr_zero(word);
}

}  // namespace

void TVTRBitsArray::RaiseInvalidBit(int32_t code, int32_t n, int32_t limit) {
  throw EVTRException::CreateFmt(code, kInvalidBitFormat, n, limit);
}

uint64_t TVTRBitsArray::Word(int32_t k) const {
  return LoadWord(bits_.get() + int64_t{k} * 8);
}

void TVTRBitsArray::Reserve(int32_t bytes) {
  if (bytes <= capacity_) return;
  const int32_t grown =
      static_cast<int32_t>(std::min<int64_t>(int64_t{capacity_} * 3 / 2 / 8 * 8, kMaxBlockBytes));
  const int32_t capacity = std::max(bytes, grown);
  void* block = bits_.release();
  try {
    if (block)
      EngineMemoryManager().ReallocMemZeroed(block, capacity);
    else
      block = EngineMemoryManager().AllocMem(capacity);
  } catch (...) {
    // The manager keeps the old block unless it found it overrun and freed it.
    bits_.reset(static_cast<uint8_t*>(block));
    if (!block) capacity_ = size_ = set_count_ = 0;
    throw;
  }
  bits_.reset(static_cast<uint8_t*>(block));
  capacity_ = capacity;
}

void TVTRBitsArray::SetSize(int32_t n) {
  if (n < 0) throw std::invalid_argument("TVTRBitsArray::SetSize: negative size");
  if (n == 0) {
    bits_.reset();
    capacity_ = size_ = set_count_ = 0;
  } else if (n < size_) {
    uint8_t* bits = bits_.get();
    ClearPadding(bits, n);
    const int32_t kept = UsedBytes(n);
    std::memset(bits + kept, 0, static_cast<size_t>(UsedBytes(size_) - kept));
    size_ = n;
    set_count_ = CountSetBits();
  } else {
    Reserve(WordBytes(n));
    size_ = n;
  }
}

int32_t TVTRBitsArray::CountSetBits() const {
  return PopCount(bits_.get(), WordBytes(size_));
}

void TVTRBitsArray::SetAllBits() {
  if (size_ == 0) return;
  std::memset(bits_.get(), 0xFF, static_cast<size_t>(UsedBytes(size_)));
  ClearPadding(bits_.get(), size_);
  set_count_ = size_;
}

bool TVTRBitsArray::FindFirst(bool value, int32_t& position) const {
  const int32_t words = WordCount();
  for (int32_t k = 0; k < words; ++k) {
    const uint64_t word = value ? Word(k) : ~Word(k);
    if (word == 0) continue;
    // A clear bit found in the zero padding lies past the end.
    const int64_t found = int64_t{k} * 64 + std::countr_zero(word);
    if (found >= size_) return false;
    position = static_cast<int32_t>(found);
    return true;
  }
  return false;
}

bool TVTRBitsArray::FindNext(bool from_start, bool forward, int32_t& position, int32_t current) const {
  if (from_start)
    return forward ? FindSetForward(0, position) : FindSetBackward(int64_t{size_} - 1, position);
  return forward ? FindSetForward(int64_t{current} + 1, position)
                 : FindSetBackward(std::min<int64_t>(int64_t{current} - 1, int64_t{size_} - 1), position);
}

bool TVTRBitsArray::FindSetForward(int64_t start, int32_t& position) const {
  start = std::max<int64_t>(start, 0);
  if (start >= size_) return false;
  const int32_t words = WordCount();
  auto k = static_cast<int32_t>(start / 64);
  uint64_t word = Word(k) & (~uint64_t{0} << (start % 64));
  while (word == 0) {
    if (++k == words) return false;
    word = Word(k);
  }
  position = k * 64 + std::countr_zero(word);
  return true;
}

bool TVTRBitsArray::FindSetBackward(int64_t start, int32_t& position) const {
  if (start < 0) return false;
  auto k = static_cast<int32_t>(start / 64);
  uint64_t word = Word(k) & (~uint64_t{0} >> (63 - start % 64));
  while (word == 0) {
    if (k-- == 0) return false;
    word = Word(k);
  }
  position = k * 64 + 63 - std::countl_zero(word);
  return true;
}

int32_t TVTRBitsArray::SetBitPosition(int32_t n) const {
  if (n < 0 || n >= set_count_) RaiseInvalidBit(10428, n, set_count_);
  if (set_count_ == size_) return n;
  int32_t before = 0;
  const int32_t words = WordCount();
  for (int32_t k = 0; k < words; ++k) {
    const uint64_t word = Word(k);
    const int32_t count = std::popcount(word);
    if (before + count > n) return k * 64 + SelectBit(word, n - before);
    before += count;
  }
  // Unreachable while the kept count matches the bits.
  RaiseInvalidBit(10428, n, set_count_);
}

int32_t TVTRBitsArray::SetBitOrdinal(int32_t position) const {
  if (position < 0 || position >= size_) RaiseInvalidBit(10429, position, size_);
  if (set_count_ == size_) return position;
  const int32_t k = position / 64;
  const uint64_t through = ~uint64_t{0} >> (63 - position % 64);
  return PopCount(bits_.get(), k * 8) + std::popcount(Word(k) & through) - 1;
}

void TVTRBitsArray::SaveToStream(TStream& stream) const {
  uint8_t field[4];
  StoreLE32(field, static_cast<uint32_t>(size_));
  WriteStreamChecked(field, sizeof field, stream, 10398);
  StoreLE32(field, static_cast<uint32_t>(set_count_));
  WriteStreamChecked(field, sizeof field, stream, 10427);
  if (size_ > 0) WriteStreamChecked(bits_.get(), UsedBytes(size_), stream, 10400);
}

void TVTRBitsArray::LoadFromStream(TStream& stream) {
  uint8_t field[4];
  ReadStreamChecked(field, sizeof field, stream, 10401);
  const auto size = static_cast<int32_t>(LoadLE32(field));
  ReadStreamChecked(field, sizeof field, stream, 10426);
  const auto set_count = static_cast<int32_t>(LoadLE32(field));
  if (size < 0) throw EVTRException::CreateFmt(10401, kInvalidImageFormat, size, set_count);
  if (set_count < 0 || set_count > size)
    throw EVTRException::CreateFmt(10426, kInvalidImageFormat, size, set_count);

  Block bits;
  const int32_t capacity = WordBytes(size);
  if (size > 0) {
    // A damaged size must not make us allocate what the stream cannot hold.
    const int32_t used = UsedBytes(size);
    const int64_t position = stream.Position();
    const int64_t available = stream.Size() - position;
    if (available < used)
      throw EVTRException::CreateFmt(10402, kReadFailedFormat, position, stream.Size(), used,
                                     std::max<int64_t>(available, 0));
    bits.reset(static_cast<uint8_t*>(EngineMemoryManager().AllocMem(capacity)));
    ReadStreamChecked(bits.get(), used, stream, 10402);
    ClearPadding(bits.get(), size);
    if (PopCount(bits.get(), capacity) != set_count)
      throw EVTRException::CreateFmt(10426, kInvalidImageFormat, size, set_count);
  }
  bits_ = std::move(bits);
  capacity_ = capacity;
  size_ = size;
  set_count_ = set_count;
}
