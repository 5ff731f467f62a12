#pragma once
// What a table engine keeps beside a stored BLOB value and hands to the
// compressed BLOB stream that opens it.
#include <cstdint>

#include "engine/foundation/Compression.h"

struct TVTRBLOBDescriptor {
  int32_t block_size = 0;         // uncompressed bytes per block; 0 asks for the mode's default
  int64_t block_count = 0;        // stored blocks
  int64_t uncompressed_size = 0;  // the value's size
  int64_t start_position = 0;     // where the first block (or the raw value) begins in the stream
  TVTRCompressionMethod algorithm = cmNone;
  uint8_t mode = 0;  // 1 to 9 with a compressing algorithm
};
