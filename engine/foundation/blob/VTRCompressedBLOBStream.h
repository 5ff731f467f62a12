#pragma once
// One BLOB value as a byte stream. The value is kept in an underlying stream
// that the table engine supplies and keeps owning, from the descriptor's start
// position on, as blocks compressed one by one, each behind a
// CompressedBlockHeader and directly followed by the next header. Block i
// holds the value's bytes from i × BlockSize to the smaller of
// (i + 1) × BlockSize and the size; bytes behind the last block are ignored.
// The underlying stream always mirrors what was written: after any write the
// engine may store its bytes together with Descriptor().
//
// Bytes can only be appended: a write before the end writes nothing, a write
// past the end first fills the gap with zeros. Shortening inside a block
// recompresses that block as the new last one.
//
// With cmNone the value lies unchanged in the underlying stream from the start
// position, without headers, and can be overwritten anywhere.
//
// Not for use by two threads at once.
#include <cstdint>
#include <vector>

#include "engine/foundation/blob/CompressedBlockHeader.h"
#include "engine/foundation/blob/VTRBLOBDescriptor.h"
#include "engine/foundation/stream/VTRStream.h"

// One stored block: its header as stored and the header's position in the
// underlying stream.
struct TVTRCompressedStreamBlock {
  CompressedBlockHeader header;
  int64_t position = 0;
};
using TVTRCompressedStreamBlockHeadersArray = std::vector<TVTRCompressedStreamBlock>;

class TVTRCompressedBLOBStream : public TVTRStream {
 public:
  // Opens the value stored in `stream`, or with new_value starts an empty one;
  // a block size of 0 or less takes DefaultBlockSize(mode). Raises 10103 when
  // the start position cannot be reached. A compressed value whose chain of
  // headers cannot be followed is refused: 10082 for a header that the stream
  // does not hold, 10080 and 10083 for one that cannot be reached or whose next
  // offset leads back into its own block or past the end of the stream. A
  // cmNone value raises 10081 when the stream ends before its last byte. With
  // accept_short_data a stream that ends early holds only the blocks (cmNone:
  // the bytes) it has.
  //
  // Whether a block decompresses to the size its place asks for and to its CRC
  // is checked when a read first touches it, so the blocks around a damaged
  // one stay readable.
  TVTRCompressedBLOBStream(TStream& stream, const TVTRBLOBDescriptor& descriptor, bool new_value,
                           bool accept_short_data = false);

  // The block size a mode asks for: 102400 for mode 0, 524288 for 1 to 3,
  // 1048576 for 4 to 6 and 1572864 above.
  static int32_t DefaultBlockSize(uint8_t mode);

  // Raises, for a block that fails its checks: 10086 when its compressed bytes
  // cannot be read, 10087 when they do not decompress, 10088 when its
  // uncompressed size is not the one its place in the value asks for, 10089 for
  // a CRC that does not match.
  int32_t Read(void* buffer, int32_t count) override;
  // Appends at the end (past it, after zeros); returns 0 before the end. Raises
  // 10085 when a block does not compress, 10099 to 10102 when the underlying
  // stream cannot be positioned or written, and the read errors when the
  // partial last block must be continued.
  int32_t Write(const void* buffer, int32_t count) override;
  // The position is not limited by the size; a target below 0 gives 0.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t GetSize() override { return size_; }
  // Grows with zeros or shortens (sizes below 0 give 0); a position past the
  // new end moves to it. Shortening inside a block raises the read errors for
  // that block, 10093 and 10094 when the underlying stream cannot be cut and
  // positioned there, 10095 and 10096 when the block cannot be written back.
  void SetSize(int64_t new_size) override;

  // The underlying stream's size: what the engine stores.
  int64_t GetCompressedSize() { return stream_.Size(); }
  // The descriptor with the block size in use and the current block count and size.
  TVTRBLOBDescriptor Descriptor() const;
  // (1 − compressed bytes ÷ size) × 100, headers not counted; 0 when nothing is compressed.
  double CompressionRate() const;

 private:
  bool Compressing() const { return descriptor_.algorithm != cmNone; }
  int32_t Algorithm() const { return descriptor_.algorithm; }
  void LoadBlockHeaders();
  // The uncompressed size of block `index` that the value's size implies.
  int32_t BlockExtent(int64_t index) const;
  // Leaves the uncompressed bytes of block `index` in block_.
  void DecompressBlock(int64_t index);
  // Compresses count bytes into compressed_; returns their header.
  CompressedBlockHeader CompressBlock(const uint8_t* data, int32_t count);
  // Writes a block at `position` as block `index` (an existing one or the next).
  void WriteBlock(int64_t index, int64_t position, const uint8_t* data, int32_t count, int32_t seek_code);
  // Adds count bytes at the end; null data adds zeros.
  void Append(const uint8_t* data, int64_t count);
  void Truncate(int64_t new_size);

  int32_t ReadRaw(void* buffer, int32_t count);
  int32_t WriteRaw(const void* buffer, int32_t count);
  void SetRawSize(int64_t new_size);

  TStream& stream_;
  TVTRBLOBDescriptor descriptor_;
  bool accept_short_data_;
  int64_t block_size_ = 0;  // kept apart from BlockSize(), which callers may change
  TVTRCompressedStreamBlockHeadersArray blocks_;
  int64_t size_ = 0;
  int64_t position_ = 0;
  // Reused for every block: the uncompressed bytes of block cached_block_ (-1:
  // of none) and the compressed bytes of the last block read or written.
  std::vector<uint8_t> block_;
  int64_t cached_block_ = -1;
  std::vector<uint8_t> compressed_;
};
