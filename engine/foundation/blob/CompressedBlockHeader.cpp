#include "engine/foundation/blob/CompressedBlockHeader.h"

#include "engine/foundation/cipher/ByteUtil.h"

CompressedBlockHeaderImage WriteCompressedBlockHeader(const CompressedBlockHeader& header) {
  CompressedBlockHeaderImage image;
  const auto next_offset = static_cast<uint64_t>(header.next_offset);
  StoreLE32(&image[0], static_cast<uint32_t>(header.compressed_size));
  StoreLE32(&image[4], static_cast<uint32_t>(header.uncompressed_size));
  StoreLE32(&image[8], header.crc32);
  StoreLE32(&image[12], static_cast<uint32_t>(next_offset));
  StoreLE32(&image[16], static_cast<uint32_t>(next_offset >> 32));
  return image;
}

CompressedBlockHeader ReadCompressedBlockHeader(const CompressedBlockHeaderImage& image) {
  CompressedBlockHeader header;
  header.compressed_size = static_cast<int32_t>(LoadLE32(&image[0]));
  header.uncompressed_size = static_cast<int32_t>(LoadLE32(&image[4]));
  header.crc32 = LoadLE32(&image[8]);
  header.next_offset = static_cast<int64_t>(uint64_t{LoadLE32(&image[16])} << 32 | LoadLE32(&image[12]));
  return header;
}
