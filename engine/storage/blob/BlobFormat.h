#pragma once
// The stored pieces of a BLOB value of a disk table. Values live on TableBlob
// pages (type 11); D is the page data size.
//
// BLOB field in a record buffer (kBlobFieldSize bytes at its MemoryOffset):
//   0  4  i32 page of the value: the shared page or the first page of the
//         sequence; 0 or -1 = no stored value
//   4  2  i16 BLOB id: the entry on a shared page; -1 = a page sequence;
//         255 = either, found out by probing
//   6  4  u32 handle of the value's entry in the BLOB manager's cache; 0 = none
// Only the first 6 bytes (the reference) reach the stored record.
//
// Value header (kBlobValueHeaderSize bytes):
//   0   2  u16 BLOB id on a shared page; 0 in a sequence's first page
//   2   4  i32 block count of the compressed stream
//   6   8  i64 L: stored bytes that follow
//   14  8  i64 uncompressed size of the value
//
// Page-list locator (kBlobPageListLocatorSize bytes):
//   0  4  i32 page where the list starts
//   4  2  u16 offset in that page's data area
//   6  4  i32 entries in the list
#include <cstdint>
#include <span>

inline constexpr int32_t kBlobFieldSize = 10;
inline constexpr int32_t kBlobReferenceSize = 6;
inline constexpr int32_t kBlobValueHeaderSize = 22;
inline constexpr int32_t kBlobPageListLocatorSize = 10;

inline constexpr int16_t kSequenceBlobID = -1;
inline constexpr int16_t kUnknownBlobID = 255;
// Ids of shared-page entries run from 0 to this; the next u16 reads as -1.
inline constexpr uint16_t kMaxSharedBlobID = 65534;

struct TVTRBlobReference {
  int32_t PageNo = -1;
  int16_t BlobID = kSequenceBlobID;

  bool HasStoredValue() const { return PageNo != 0 && PageNo != -1; }
  friend bool operator==(const TVTRBlobReference&, const TVTRBlobReference&) = default;
};

// A reference to nothing, as a deleted or empty value leaves it.
inline constexpr TVTRBlobReference kNoBlobValue{-1, kSequenceBlobID};

void StoreBlobReference(uint8_t* field, const TVTRBlobReference& reference);
TVTRBlobReference LoadBlobReference(const uint8_t* field);
void StoreBlobCacheHandle(uint8_t* field, uint32_t handle);
uint32_t LoadBlobCacheHandle(const uint8_t* field);

struct BlobValueHeader {
  uint16_t BlobID = 0;
  int32_t BlockCount = 0;
  int64_t StoredSize = 0;  // L
  int64_t UncompressedSize = 0;
};

void EncodeBlobValueHeader(const BlobValueHeader& header, std::span<uint8_t, kBlobValueHeaderSize> out);
BlobValueHeader DecodeBlobValueHeader(std::span<const uint8_t, kBlobValueHeaderSize> in);

struct BlobPageListLocator {
  int32_t PageNo = -1;
  uint16_t Offset = 0;
  int32_t EntryCount = 0;
};

void EncodeBlobPageListLocator(const BlobPageListLocator& locator,
                               std::span<uint8_t, kBlobPageListLocatorSize> out);
BlobPageListLocator DecodeBlobPageListLocator(std::span<const uint8_t, kBlobPageListLocatorSize> in);
