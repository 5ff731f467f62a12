#include "engine/storage/blob/BlobFormat.h"

#include "engine/storage/pager/ByteOrder.h"

namespace {

constexpr int kReferencePageAt = 0;
constexpr int kReferenceIDAt = 4;
constexpr int kCacheHandleAt = 6;

constexpr int kHeaderIDAt = 0;
constexpr int kHeaderBlockCountAt = 2;
constexpr int kHeaderStoredSizeAt = 6;
constexpr int kHeaderUncompressedSizeAt = 14;

constexpr int kLocatorPageAt = 0;
constexpr int kLocatorOffsetAt = 4;
constexpr int kLocatorEntriesAt = 6;

}  // namespace

void StoreBlobReference(uint8_t* field, const TVTRBlobReference& reference) {
  StoreI32(field + kReferencePageAt, reference.PageNo);
  StoreI16(field + kReferenceIDAt, reference.BlobID);
}

TVTRBlobReference LoadBlobReference(const uint8_t* field) {
  return {LoadI32(field + kReferencePageAt), LoadI16(field + kReferenceIDAt)};
}

void StoreBlobCacheHandle(uint8_t* field, uint32_t handle) {
  StoreU32(field + kCacheHandleAt, handle);
}

uint32_t LoadBlobCacheHandle(const uint8_t* field) {
  return LoadU32(field + kCacheHandleAt);
}

void EncodeBlobValueHeader(const BlobValueHeader& header, std::span<uint8_t, kBlobValueHeaderSize> out) {
  uint8_t* p = out.data();
  StoreU16(p + kHeaderIDAt, header.BlobID);
  StoreI32(p + kHeaderBlockCountAt, header.BlockCount);
  StoreU64(p + kHeaderStoredSizeAt, static_cast<uint64_t>(header.StoredSize));
  StoreU64(p + kHeaderUncompressedSizeAt, static_cast<uint64_t>(header.UncompressedSize));
}

BlobValueHeader DecodeBlobValueHeader(std::span<const uint8_t, kBlobValueHeaderSize> in) {
  const uint8_t* p = in.data();
  return BlobValueHeader{LoadU16(p + kHeaderIDAt), LoadI32(p + kHeaderBlockCountAt),
                         static_cast<int64_t>(LoadU64(p + kHeaderStoredSizeAt)),
                         static_cast<int64_t>(LoadU64(p + kHeaderUncompressedSizeAt))};
}

void EncodeBlobPageListLocator(const BlobPageListLocator& locator,
                               std::span<uint8_t, kBlobPageListLocatorSize> out) {
  uint8_t* p = out.data();
  StoreI32(p + kLocatorPageAt, locator.PageNo);
  StoreU16(p + kLocatorOffsetAt, locator.Offset);
  StoreI32(p + kLocatorEntriesAt, locator.EntryCount);
}

BlobPageListLocator DecodeBlobPageListLocator(std::span<const uint8_t, kBlobPageListLocatorSize> in) {
  const uint8_t* p = in.data();
  return BlobPageListLocator{LoadI32(p + kLocatorPageAt), LoadU16(p + kLocatorOffsetAt),
                             LoadI32(p + kLocatorEntriesAt)};
}
