#pragma once
// A bit map that keeps the number of its set bits and finds the n-th set bit:
// the record bitmaps of filtered views and the used-page maps of the page
// managers. Bit n is bit n mod 8 of byte n div 8. Every bit at or past Size()
// is zero, so whole bytes and words can be counted without masking.
//
// Stream image, little-endian:
//   offset  width  content
//   0       4      size in bits (i32, >= 0)
//   4       4      set bits (i32, 0 .. size)
//   8       B      the bits, B = (size + 7) div 8 bytes; absent when size is 0
#include <cstdint>
#include <memory>

#include "engine/foundation/VTRMemory.h"
#include "platform/rtl/Stream.h"

class TVTRBitsArray {
 public:
  TVTRBitsArray() = default;
  TVTRBitsArray(const TVTRBitsArray&) = delete;
  TVTRBitsArray& operator=(const TVTRBitsArray&) = delete;

  int32_t Size() const { return size_; }
  // The number of set bits, kept up to date by every change.
  int32_t SetBitsCount() const { return set_count_; }

  // New bits are clear; shrinking drops the bits past n from the count; 0
  // releases the memory. Raises std::invalid_argument for n < 0.
  void SetSize(int32_t n);
  // Outside 0 .. Size() - 1: 10394 (GetBit), 10395 (SetBit).
  bool GetBit(int32_t n) const {
    if (n < 0 || n >= size_) RaiseInvalidBit(10394, n, size_);
    return (bits_.get()[n / 8] >> (n % 8)) & 1;
  }
  void SetBit(int32_t n, bool value) {
    if (n < 0 || n >= size_) RaiseInvalidBit(10395, n, size_);
    uint8_t& byte = bits_.get()[n / 8];
    const auto mask = static_cast<uint8_t>(1u << (n % 8));
    if (((byte & mask) != 0) == value) return;
    byte ^= mask;
    set_count_ += value ? 1 : -1;
  }
  // Counts the set bits afresh (the kept count needs no recount).
  int32_t CountSetBits() const;
  void SetAllBits();

  // The lowest position whose bit equals value.
  bool FindFirst(bool value, int32_t& position) const;
  // from_start: the first (forward) or last (backward) set bit; otherwise the
  // nearest set bit after (forward) or before (backward) current.
  bool FindNext(bool from_start, bool forward, int32_t& position, int32_t current) const;
  // The position of the n-th set bit, n from 0; n outside 0 .. set bits - 1
  // raises 10428.
  int32_t SetBitPosition(int32_t n) const;
  // Set bits in 0 .. position, minus 1: the 0-based ordinal of a set bit.
  // A position outside the map raises 10429.
  int32_t SetBitOrdinal(int32_t position) const;

  // Short writes raise 10398 (size), 10427 (set bits), 10400 (bits).
  void SaveToStream(TStream& stream) const;
  // Short reads raise 10401, 10426, 10402; a damaged image (negative size,
  // set bits outside 0 .. size or unlike the bits) raises 10401 or 10426.
  // Bits past the size in the last byte are ignored. Nothing changes unless
  // the whole image is read.
  void LoadFromStream(TStream& stream);

 private:
  using Block = std::unique_ptr<uint8_t, VTRMemoryDeleter>;

  [[noreturn]] static void RaiseInvalidBit(int32_t code, int32_t n, int32_t limit);

  int32_t WordCount() const { return static_cast<int32_t>((int64_t{size_} + 63) / 64); }
  uint64_t Word(int32_t k) const;
  void Reserve(int32_t bytes);
  bool FindSetForward(int64_t start, int32_t& position) const;
  bool FindSetBackward(int64_t start, int32_t& position) const;

  Block bits_;  // capacity_ bytes, a multiple of 8 so whole words can be read
  int32_t capacity_ = 0;
  int32_t size_ = 0;
  int32_t set_count_ = 0;
};
