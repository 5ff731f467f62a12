#include "engine/foundation/blob/VTRCompressedBLOBStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "engine/foundation/CRC32.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/stream/VTRStreamChecks.h"
#include "engine/foundation/stream/VTRStreamMessages.h"

namespace {

constexpr const char* kStreamTooSmallFormat = "Stream size = %d too small. Should be at least = %d";
constexpr const char* kCompressFailedFormat =
    "Compress buffer failed. CompAlg = %d, CompMode = %d, InSize = %d, OutSize = %d";
constexpr const char* kDecompressFailedFormat =
    "Decompress buffer failed. CompAlg = %d, InSize = %d, OutSize = %d";
constexpr const char* kUncompressedSizeFormat =
    "Decompress buffer failed. UncompSize = %d, Header.UncompSize = %d";
constexpr const char* kChecksumFormat = "Decompress buffer failed. CheckSum = %d, Header.Crc32 = %d";
constexpr const char* kInvalidStreamSizeFormat = "Invalid stream size = %d. Should be = %d";
constexpr const char* kErrorWritingMessage = "Error writing to stream";

int64_t SaturatingAdd(int64_t a, int64_t b) {
  int64_t sum;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

}  // namespace

TVTRCompressedBLOBStream::TVTRCompressedBLOBStream(TStream& stream, const TVTRBLOBDescriptor& descriptor,
                                                   bool new_value, bool accept_short_data)
    : stream_(stream), descriptor_(descriptor), accept_short_data_(accept_short_data) {
  SeekStreamChecked(stream_, 10103, descriptor_.start_position);
  if (descriptor_.block_size <= 0) descriptor_.block_size = DefaultBlockSize(descriptor_.mode);
  block_size_ = descriptor_.block_size;
  SetBlockSize(descriptor_.block_size);
  if (new_value) {
    descriptor_.block_count = 0;
  } else if (Compressing()) {
    LoadBlockHeaders();
  } else {
    size_ = std::max<int64_t>(descriptor_.uncompressed_size, 0);
    const int64_t stream_size = stream_.Size();
    const int64_t end = SaturatingAdd(descriptor_.start_position, size_);
    if (stream_size < end) {
      if (!accept_short_data_) throw EVTRException::CreateFmt(10081, kStreamTooSmallFormat, stream_size, end);
      size_ = std::max<int64_t>(stream_size - descriptor_.start_position, 0);
    }
  }
}

int32_t TVTRCompressedBLOBStream::DefaultBlockSize(uint8_t mode) {
  if (mode == 0) return 102400;
  if (mode <= 3) return 524288;
  if (mode <= 6) return 1048576;
  return 1572864;
}

// Every header must lie inside the stream and lead forward past its own
// compressed bytes, so walking the chain ends after at most size ÷ 20 steps
// and no block overlaps the next one or reaches past the end.
void TVTRCompressedBLOBStream::LoadBlockHeaders() {
  const int64_t stream_size = stream_.Size();
  int64_t position = descriptor_.start_position;
  for (int64_t index = 0; index < descriptor_.block_count; ++index) {
    if (stream_size - position < kCompressedBlockHeaderSize) {
      if (accept_short_data_) break;
      throw EVTRException::CreateFmt(10082, kStreamTooSmallFormat, stream_size,
                                     position + kCompressedBlockHeaderSize);
    }
    SeekStreamChecked(stream_, index == 0 ? 10080 : 10083, position);
    CompressedBlockHeaderImage image;
    ReadStreamChecked(image.data(), kCompressedBlockHeaderSize, stream_, 10082);
    const CompressedBlockHeader header = ReadCompressedBlockHeader(image);
    const int64_t own_end = kCompressedBlockHeaderSize + int64_t{std::max(header.compressed_size, 0)};
    if (header.next_offset < own_end || header.next_offset > stream_size - position) {
      throw EVTRException::CreateFmt(10083, kSeekFailedFormat, SaturatingAdd(position, header.next_offset),
                                     stream_.Position(), stream_size);
    }
    blocks_.push_back({header, position});
    position += header.next_offset;
  }
  if (blocks_.empty()) return;
  // A last block that claims an impossible size counts as full; reading it
  // then reports the damage.
  const int32_t last_size = blocks_.back().header.uncompressed_size;
  const int64_t last_extent = last_size > 0 && last_size <= block_size_ ? last_size : block_size_;
  size_ = (static_cast<int64_t>(blocks_.size()) - 1) * block_size_ + last_extent;
}

TVTRBLOBDescriptor TVTRCompressedBLOBStream::Descriptor() const {
  TVTRBLOBDescriptor descriptor = descriptor_;
  if (Compressing()) descriptor.block_count = static_cast<int64_t>(blocks_.size());
  descriptor.uncompressed_size = size_;
  return descriptor;
}

double TVTRCompressedBLOBStream::CompressionRate() const {
  if (!Compressing() || size_ <= 0) return 0;
  int64_t compressed = 0;
  for (const TVTRCompressedStreamBlock& block : blocks_)
    compressed += std::max(block.header.compressed_size, 0);
  return (1 - static_cast<double>(compressed) / static_cast<double>(size_)) * 100;
}

int32_t TVTRCompressedBLOBStream::BlockExtent(int64_t index) const {
  return static_cast<int32_t>(std::min(block_size_, size_ - index * block_size_));
}

void TVTRCompressedBLOBStream::DecompressBlock(int64_t index) {
  if (cached_block_ == index) return;
  cached_block_ = -1;
  const TVTRCompressedStreamBlock& block = blocks_[static_cast<size_t>(index)];
  const CompressedBlockHeader& header = block.header;
  const int32_t extent = BlockExtent(index);
  if (header.uncompressed_size != extent)
    throw EVTRException::CreateFmt(10088, kUncompressedSizeFormat, extent, header.uncompressed_size);
  if (header.compressed_size <= 0) {
    throw EVTRException::CreateFmt(10087, kDecompressFailedFormat, Algorithm(), header.compressed_size,
                                   extent);
  }
  // The chain check bounds the compressed size by the stream's own size.
  compressed_.resize(static_cast<size_t>(header.compressed_size));
  SeekStreamChecked(stream_, 10086, block.position + kCompressedBlockHeaderSize);
  ReadStreamChecked(compressed_.data(), header.compressed_size, stream_, 10086);
  if (!DecompressBuffer(descriptor_.algorithm, compressed_.data(), compressed_.size(),
                        static_cast<size_t>(extent), block_)) {
    throw EVTRException::CreateFmt(10087, kDecompressFailedFormat, Algorithm(), header.compressed_size,
                                   extent);
  }
  if (block_.size() != static_cast<size_t>(extent))
    throw EVTRException::CreateFmt(10088, kUncompressedSizeFormat, block_.size(), header.uncompressed_size);
  const uint32_t crc = CalcCRC32(0, block_.data(), static_cast<int64_t>(block_.size()));
  if (crc != header.crc32) throw EVTRException::CreateFmt(10089, kChecksumFormat, crc, header.crc32);
  cached_block_ = index;
}

CompressedBlockHeader TVTRCompressedBLOBStream::CompressBlock(const uint8_t* data, int32_t count) {
  CompressedBlockHeader header;
  header.uncompressed_size = count;
  header.crc32 = CalcCRC32(0, data, count);
  if (!CompressBuffer(descriptor_.algorithm, descriptor_.mode, data, static_cast<size_t>(count),
                      compressed_) ||
      compressed_.size() >
          static_cast<size_t>(std::numeric_limits<int32_t>::max() - kCompressedBlockHeaderSize)) {
    throw EVTRException::CreateFmt(10085, kCompressFailedFormat, Algorithm(), int32_t{descriptor_.mode},
                                   count, compressed_.size());
  }
  header.compressed_size = static_cast<int32_t>(compressed_.size());
  header.next_offset = kCompressedBlockHeaderSize + header.compressed_size;
  return header;
}

void TVTRCompressedBLOBStream::WriteBlock(int64_t index, int64_t position, const uint8_t* data, int32_t count,
                                          int32_t seek_code) {
  const CompressedBlockHeader header = CompressBlock(data, count);
  SeekStreamChecked(stream_, seek_code, position);
  const CompressedBlockHeaderImage image = WriteCompressedBlockHeader(header);
  WriteStreamChecked(image.data(), kCompressedBlockHeaderSize, stream_, 10100);
  WriteStreamChecked(compressed_.data(), header.compressed_size, stream_, 10101);
  if (index == static_cast<int64_t>(blocks_.size()))
    blocks_.push_back({header, position});
  else
    blocks_[static_cast<size_t>(index)] = {header, position};
}

int32_t TVTRCompressedBLOBStream::Read(void* buffer, int32_t count) {
  if (!Compressing()) return ReadRaw(buffer, count);
  auto* out = static_cast<uint8_t*>(buffer);
  int32_t done = 0;
  while (done < count && position_ < size_) {
    const int64_t index = position_ / block_size_;
    const int64_t offset = position_ % block_size_;
    DecompressBlock(index);
    const auto n =
        static_cast<int32_t>(std::min({block_size_ - offset, int64_t{count - done}, size_ - position_}));
    std::memcpy(out + done, block_.data() + offset, static_cast<size_t>(n));
    done += n;
    position_ += n;
  }
  return done;
}

int32_t TVTRCompressedBLOBStream::Write(const void* buffer, int32_t count) {
  if (!Compressing()) return WriteRaw(buffer, count);
  if (count <= 0 || position_ < size_) return 0;
  if (position_ > size_) Append(nullptr, position_ - size_);
  Append(static_cast<const uint8_t*>(buffer), count);
  position_ = size_;
  return count;
}

// The block table and the size follow every block written, so after a failure
// they still describe what the underlying stream holds.
void TVTRCompressedBLOBStream::Append(const uint8_t* data, int64_t count) {
  const int64_t tail = size_ % block_size_;
  if (tail > 0 && count > 0) {
    // Continue the partial last block in its place.
    const int64_t last = static_cast<int64_t>(blocks_.size()) - 1;
    DecompressBlock(last);
    cached_block_ = -1;
    const int64_t n = std::min(count, block_size_ - tail);
    block_.resize(static_cast<size_t>(tail + n));
    if (data) {
      std::memcpy(block_.data() + tail, data, static_cast<size_t>(n));
      data += n;
    }
    WriteBlock(last, blocks_.back().position, block_.data(), static_cast<int32_t>(tail + n), 10099);
    cached_block_ = last;
    size_ += n;
    count -= n;
  }
  while (count > 0) {
    const int64_t index = static_cast<int64_t>(blocks_.size());
    const int64_t position = blocks_.empty() ? descriptor_.start_position
                                             : blocks_.back().position + blocks_.back().header.next_offset;
    const auto n = static_cast<int32_t>(std::min(count, block_size_));
    if (data) {
      WriteBlock(index, position, data, n, 10102);
      data += n;
    } else {
      cached_block_ = -1;
      block_.assign(static_cast<size_t>(n), 0);
      WriteBlock(index, position, block_.data(), n, 10102);
      cached_block_ = index;
    }
    size_ += n;
    count -= n;
  }
}

void TVTRCompressedBLOBStream::Truncate(int64_t new_size) {
  const int64_t full = new_size / block_size_;
  const auto tail = static_cast<int32_t>(new_size % block_size_);
  if (tail > 0) {
    // The block that becomes the last is recompressed with its first tail
    // bytes, and the underlying stream is cut behind it.
    DecompressBlock(full);
    cached_block_ = -1;
    block_.resize(static_cast<size_t>(tail));
    const CompressedBlockHeader header = CompressBlock(block_.data(), tail);
    const int64_t position = blocks_[static_cast<size_t>(full)].position;
    stream_.SetSize(position);
    if (stream_.Size() != position)
      throw EVTRException::CreateFmt(10093, kInvalidStreamSizeFormat, stream_.Size(), position);
    SeekStreamChecked(stream_, 10094, position);
    const CompressedBlockHeaderImage image = WriteCompressedBlockHeader(header);
    if (stream_.Write(image.data(), kCompressedBlockHeaderSize) != kCompressedBlockHeaderSize)
      throw EVTRException(10095, kErrorWritingMessage);
    if (stream_.Write(compressed_.data(), header.compressed_size) != header.compressed_size)
      throw EVTRException(10096, kErrorWritingMessage);
    blocks_.resize(static_cast<size_t>(full) + 1);
    blocks_.back() = {header, position};
    cached_block_ = full;
  } else {
    // The dropped blocks' bytes stay behind the last block until appends
    // overwrite them.
    blocks_.resize(static_cast<size_t>(full));
    if (cached_block_ >= full) cached_block_ = -1;
  }
  size_ = new_size;
}

void TVTRCompressedBLOBStream::SetSize(int64_t new_size) {
  new_size = std::max<int64_t>(new_size, 0);
  if (!Compressing())
    SetRawSize(new_size);
  else if (new_size > size_)
    Append(nullptr, new_size - size_);
  else if (new_size < size_)
    Truncate(new_size);
  position_ = std::min(position_, size_);
}

int64_t TVTRCompressedBLOBStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base = origin == TSeekOrigin::soBeginning ? 0
                       : origin == TSeekOrigin::soCurrent ? position_
                                                          : size_;
  position_ = std::max<int64_t>(SaturatingAdd(base, offset), 0);
  return position_;
}

int32_t TVTRCompressedBLOBStream::ReadRaw(void* buffer, int32_t count) {
  if (count <= 0 || position_ >= size_) return 0;
  const int64_t target = descriptor_.start_position + position_;
  if (stream_.Seek(target, TSeekOrigin::soBeginning) != target) return 0;
  const int32_t read =
      stream_.Read(buffer, static_cast<int32_t>(std::min<int64_t>(count, size_ - position_)));
  position_ += std::max(read, 0);
  return read;
}

int32_t TVTRCompressedBLOBStream::WriteRaw(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  // Bytes behind the value must not reappear in the gap before a write past its end.
  if (position_ > size_) stream_.SetSize(descriptor_.start_position + size_);
  const int64_t target = descriptor_.start_position + position_;
  if (stream_.Seek(target, TSeekOrigin::soBeginning) != target) return 0;
  const int32_t written = stream_.Write(buffer, count);
  position_ += std::max(written, 0);
  size_ = std::max(size_, position_);
  return written;
}

void TVTRCompressedBLOBStream::SetRawSize(int64_t new_size) {
  stream_.SetSize(descriptor_.start_position + new_size);
  size_ = new_size;
}
