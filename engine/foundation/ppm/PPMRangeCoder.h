#pragma once
// The carry-less range coder of the PPM compressor: 32-bit low and range, a byte is shifted out whenever
// the top 8 bits of the interval have settled or the range falls below 2^15 (then the range is cut at the
// next 2^15 boundary so that no carry can reach a byte already written).
//
// Both sides stop on their buffer's end instead of passing it: the encoder when its output is full, the
// decoder when it would read past its input (a valid stream is consumed exactly, so that means the stream
// was cut short). Failed() then stays true.
#include <cstddef>
#include <cstdint>

class PPMRangeEncoder {
 public:
  PPMRangeEncoder(uint8_t* output, size_t capacity) : output_(output), capacity_(capacity) {}

  // Narrows the interval to [low_count, high_count) of scale.
  void Encode(uint32_t low_count, uint32_t high_count, uint32_t scale);
  // The same with scale 2^shift.
  void EncodeShift(uint32_t low_count, uint32_t high_count, int shift);
  void Normalize();
  // Writes the 4 bytes of low, most significant first.
  void Flush();

  size_t Size() const { return size_; }
  bool Failed() const { return failed_; }

 private:
  void Put(uint32_t byte);

  uint8_t* output_;
  size_t capacity_;
  size_t size_ = 0;
  uint32_t low_ = 0;
  uint32_t range_ = 0xFFFFFFFFu;
  bool failed_ = false;
};

class PPMRangeDecoder {
 public:
  // Primes the code value with the first 4 bytes of input.
  PPMRangeDecoder(const uint8_t* input, size_t size);

  // The position of the code value within scale; the step is completed by Decode.
  uint32_t GetCount(uint32_t scale);
  // The same with scale 2^shift.
  uint32_t GetShiftCount(int shift);
  // Narrows the interval to [low_count, high_count) of the scale given to the last count.
  void Decode(uint32_t low_count, uint32_t high_count);
  void Normalize();

  bool Failed() const { return failed_; }

 private:
  uint32_t CurrentCount();
  uint32_t Next();

  const uint8_t* input_;
  size_t size_;
  size_t position_ = 0;
  uint32_t low_ = 0;
  uint32_t range_ = 0xFFFFFFFFu;
  uint32_t code_ = 0;
  bool failed_ = false;
};
