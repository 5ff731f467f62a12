#pragma once
// The 40-byte header at the start of every page of a database file; the rest
// of the page is its data area.
//
//   offset  size  content                                        new page
//   0       4     magic "VTRP"                                   "VTRP"
//   4       4     i32 version: +1 on every write, 0..0x7FFFFFFC;  random
//                 0x7FFFFFFF on disk marks a freed page
//   8       2     u16 page type
//   10      4     i32 next page of an internal file, -1 at the end -1
//   14      4     u32 CRC-32 of the data area before enciphering  0
//   18      2     reserved                                       0
//   20      1     u8 cipher algorithm of the data area            0
//   21      1     reserved                                       0
//   22      4     i32 owner (table ID on record pages)            -1
//   26      4     reserved                                       -1
//   30      2     reserved                                       0
//   32      8     reserved                                       0
//
// The header is never enciphered. Reserved bytes are written as shown and
// never interpreted.
#include <cstdint>
#include <span>
#include <string_view>

inline constexpr int32_t kPageHeaderSize = 40;
inline constexpr int32_t kFreedPageVersion = 0x7FFFFFFF;
inline constexpr int32_t kMaxPageVersion = 0x7FFFFFFC;
// New pages start below this, leaving room before the versions wrap.
inline constexpr int32_t kInitialVersionLimit = 0x3FFFFFFF;

enum TVTRPageType : uint16_t {
  ptUnknown = 0,
  ptEmpty = 1,
  ptEAM = 2,
  ptPFS = 3,
  ptFileSystemDirectory = 4,
  ptActiveSessionList = 5,
  ptTableList = 6,
  ptTableLocks = 7,
  ptTableMetaData = 8,
  ptTableMostUpdated = 9,
  ptTableRecord = 10,
  ptTableBlob = 11,
  ptTableIndex = 12,
};

// GetPage accepts a page of any type when asked for this one.
inline constexpr uint16_t kAnyPageType = 255;

struct PageHeader {
  int32_t Version = 0;
  uint16_t PageType = ptUnknown;
  int32_t NextPage = -1;
  uint32_t CRC = 0;
  uint8_t CipherAlgorithm = 0;
  int32_t Owner = -1;
};

// Writes the whole header, magic and reserved bytes included.
void EncodePageHeader(const PageHeader& header, std::span<uint8_t, kPageHeaderSize> out);
PageHeader DecodePageHeader(std::span<const uint8_t, kPageHeaderSize> in);

// Single fields of a page image that begins with a header, for the paths
// that touch one field of a cached page.
int32_t PageVersionOf(const uint8_t* page);
void SetPageVersionOf(uint8_t* page, int32_t version);
uint16_t PageTypeOf(const uint8_t* page);
void SetPageTypeOf(uint8_t* page, uint16_t type);
int32_t NextPageOf(const uint8_t* page);
void SetNextPageOf(uint8_t* page, int32_t next_page);
uint32_t PageCRCOf(const uint8_t* page);
uint8_t PageCipherAlgorithmOf(const uint8_t* page);
void SetPageCipherOf(uint8_t* page, uint8_t algorithm, uint32_t crc);
int32_t PageOwnerOf(const uint8_t* page);
void SetPageOwnerOf(uint8_t* page, int32_t owner);
inline constexpr int64_t kPageVersionOffset =
    4;  // ReadPageVersion reads these 4 bytes straight from the file
inline constexpr int32_t kPageVersionSize = 4;

// The version a page gets when it is written next: one up, wrapping to 0
// past kMaxPageVersion, so that kFreedPageVersion is never written to a live page.
int32_t NextPageVersion(int32_t version);

// "EAM Page" and the other display names; raises 30382 for a type above 12.
std::string_view PageTypeName(uint16_t type);
// Raises "Wrong page type. Found '%s', but wanted: '%s'" with native_error.
void CheckPageType(uint16_t found, uint16_t wanted, int32_t native_error);
