#pragma once
// PPM compression of a whole buffer, compression algorithm 3 of the engine. A compressed buffer:
//
//   offset  size  field
//   0       4     header word, little-endian: bits 0-3 model order - 1, bits 4-11 memory size in MiB - 1,
//                 bits 12-15 the model variant, 6 ("G" - "A"), bits 16-31 zero
//   4       rest  range coder output: the input bytes, the end-of-data event, then the coder's 4 final
//                 bytes
//
// The uncompressed size is not stored; the caller keeps it. Each call owns its model (a heap of the
// header's memory size, taken from the platform heap and freed before returning), so calls may run on
// several threads at once.
#include <cstdint>

struct PPMParameters {
  int model_order;
  int memory_mb;
};

// The PPM row of the compression-mode table; modes 1 to 9 are usable, anything else gives {0, 0}, which
// PPMCompressBuffer refuses.
PPMParameters PPMParametersForMode(int mode);

// The output capacity the caller provides for input_size bytes: input_size + input_size div 20 + 50.
constexpr int64_t PPMOutputCapacity(int64_t input_size) {
  return input_size + input_size / 20 + 50;
}

// What a call did besides its result; for diagnostics and tests.
struct PPMCodingReport {
  int32_t model_restarts = 0;  // times the model memory filled up and the model started afresh
  bool output_full = false;    // decoding stopped because the data decodes to more than output_size
};

// Compresses input_size (at least 1) bytes with model_order 1 to 16 and memory_mb 1 to 256. Returns the
// bytes written to output, header included, or 0 when the parameters are refused, the heap cannot be had
// or the result would not fit in output_capacity.
int32_t PPMCompressBuffer(const void* input, int32_t input_size, void* output, int32_t output_capacity,
                          int model_order, int memory_mb, PPMCodingReport* report = nullptr);

// Decompresses into output, which has room for output_size bytes (the uncompressed size the caller kept).
// Returns the bytes decoded, which the caller compares with the size it expects, or 0 when the header is
// not one this coder writes, the heap cannot be had, the data runs out before its end marker or decodes to
// more than output_size bytes.
int32_t PPMDecompressBuffer(const void* input, int32_t input_size, void* output, int32_t output_size,
                            PPMCodingReport* report = nullptr);
