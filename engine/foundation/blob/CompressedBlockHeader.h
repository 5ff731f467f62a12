#pragma once
// The header in front of every stored block of a compressed BLOB value.
// Encoded little-endian, field by field:
//
//   offset  size  field
//   0       4     compressed size (i32): compressed bytes that follow the header
//   4       4     uncompressed size (i32): the block size, except in the last block
//   8       4     CRC (u32): CalcCRC32 from 0 over the uncompressed bytes
//   12      8     next offset (i64): from this header to the next one; written as
//                 20 + compressed size
#include <array>
#include <cstdint>

inline constexpr int32_t kCompressedBlockHeaderSize = 20;

struct CompressedBlockHeader {
  int32_t compressed_size = 0;
  int32_t uncompressed_size = 0;
  uint32_t crc32 = 0;
  int64_t next_offset = 0;
  bool operator==(const CompressedBlockHeader&) const = default;
};

using CompressedBlockHeaderImage = std::array<uint8_t, kCompressedBlockHeaderSize>;

CompressedBlockHeaderImage WriteCompressedBlockHeader(const CompressedBlockHeader& header);
CompressedBlockHeader ReadCompressedBlockHeader(const CompressedBlockHeaderImage& image);
