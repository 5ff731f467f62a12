#include "engine/storage/system/InternalFileHeader.h"

#include <algorithm>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/Page.h"

namespace {

constexpr int kHeaderSizeAt = 0;
constexpr int kStoredSizeAt = 1;
constexpr int kUncompressedSizeAt = 5;
constexpr int kAlgorithmAt = 9;

}  // namespace

void EncodeInternalFileHeader(const InternalFileHeader& header,
                              std::span<uint8_t, kInternalFileHeaderSize> out) {
  uint8_t* p = out.data();
  p[kHeaderSizeAt] = kInternalFileHeaderSize;
  StoreI32(p + kStoredSizeAt, header.StoredSize);
  StoreI32(p + kUncompressedSizeAt, header.UncompressedSize);
  p[kAlgorithmAt] = header.Algorithm;
}

InternalFileHeader DecodeInternalFileHeader(std::span<const uint8_t, kInternalFileHeaderSize> in) {
  const uint8_t* p = in.data();
  return InternalFileHeader{LoadI32(p + kStoredSizeAt), LoadI32(p + kUncompressedSizeAt), p[kAlgorithmAt]};
}

InternalFileHeader HeaderOfPage(const TVTRPage& first) {
  InternalFileDataSize(first.DataSize());
  return DecodeInternalFileHeader(
      std::span<const uint8_t, kInternalFileHeaderSize>(first.Data(), kInternalFileHeaderSize));
}

void SetHeaderOfPage(TVTRPage& first, const InternalFileHeader& header) {
  InternalFileDataSize(first.DataSize());
  EncodeInternalFileHeader(
      header, std::span<uint8_t, kInternalFileHeaderSize>(first.Data(), kInternalFileHeaderSize));
  first.SetDirty(true);
}

int32_t InternalFileDataSize(int32_t page_data_size) {
  if (page_data_size <= kInternalFileHeaderSize) throw EVTRException(20237, "Invalid database format");
  return page_data_size;
}

int32_t InternalFilePageCount(int64_t stored_size, int32_t data_size) {
  VTR_ASSERT(data_size > 0);
  const int64_t bytes = std::max<int64_t>(stored_size, 0) + kInternalFileHeaderSize;
  return static_cast<int32_t>((bytes + data_size - 1) / data_size);
}

ContentPlace PlaceOfContent(int64_t position, int32_t data_size) {
  VTR_ASSERT(position >= 0 && data_size > 0);
  const int64_t at = position + kInternalFileHeaderSize;
  return ContentPlace{at / data_size, static_cast<int32_t>(at % data_size)};
}
