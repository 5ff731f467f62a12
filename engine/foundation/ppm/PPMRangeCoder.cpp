#include "engine/foundation/ppm/PPMRangeCoder.h"

namespace {

constexpr uint32_t kTop = 1u << 24;
constexpr uint32_t kBottom = 1u << 15;

// True while the coder must shift a byte out; cuts a small range at the next 2^15 boundary first.
bool MustShift(uint32_t low, uint32_t& range) {
  if ((low ^ (low + range)) < kTop) return true;
  if (range >= kBottom) return false;
  range = (0u - low) & (kBottom - 1);
  return true;
}

}  // namespace

void PPMRangeEncoder::Encode(uint32_t low_count, uint32_t high_count, uint32_t scale) {
  const uint32_t step = range_ / scale;
  if (step == 0) {
    failed_ = true;
    return;
  }
  low_ += low_count * step;
  range_ = (high_count - low_count) * step;
}

void PPMRangeEncoder::EncodeShift(uint32_t low_count, uint32_t high_count, int shift) {
  const uint32_t step = range_ >> shift;
  low_ += low_count * step;
  range_ = (high_count - low_count) * step;
}

void PPMRangeEncoder::Normalize() {
  while (!failed_ && MustShift(low_, range_)) {
    Put(low_ >> 24);
    low_ <<= 8;
    range_ <<= 8;
  }
}

void PPMRangeEncoder::Flush() {
  for (int i = 0; i < 4; ++i) {
    Put(low_ >> 24);
    low_ <<= 8;
  }
}

void PPMRangeEncoder::Put(uint32_t byte) {
  if (size_ == capacity_) {
    failed_ = true;
    return;
  }
  output_[size_++] = static_cast<uint8_t>(byte);
}

PPMRangeDecoder::PPMRangeDecoder(const uint8_t* input, size_t size) : input_(input), size_(size) {
  for (int i = 0; i < 4; ++i) code_ = (code_ << 8) | Next();
}

uint32_t PPMRangeDecoder::GetCount(uint32_t scale) {
  range_ /= scale;
  return CurrentCount();
}

uint32_t PPMRangeDecoder::GetShiftCount(int shift) {
  range_ >>= shift;
  return CurrentCount();
}

// A scale above the range cannot be coded; only a stream the encoder did not write leads here.
uint32_t PPMRangeDecoder::CurrentCount() {
  if (range_ == 0) {
    failed_ = true;
    return 0;
  }
  return (code_ - low_) / range_;
}

void PPMRangeDecoder::Decode(uint32_t low_count, uint32_t high_count) {
  low_ += range_ * low_count;
  range_ *= high_count - low_count;
}

void PPMRangeDecoder::Normalize() {
  while (!failed_ && MustShift(low_, range_)) {
    code_ = (code_ << 8) | Next();
    low_ <<= 8;
    range_ <<= 8;
  }
}

// Past the end the stream reads as all one bits, as the end of a file reads as -1; the decoder fails there.
uint32_t PPMRangeDecoder::Next() {
  if (position_ < size_) return input_[position_++];
  failed_ = true;
  return 0xFF;
}
