#pragma once
// The header and geometry shared by both kinds of internal file: a byte
// stream kept in pages of one page type, linked through the next-page field of
// the page header (-1 at the last page). With D = page data size:
//
//   first page, data offset  size  content
//   0                        1     u8  header size, 10
//   1                        4     i32 stored size: content bytes as stored
//                                      (compressed size when compressed)
//   5                        4     i32 uncompressed size (0 in direct files)
//   9                        1     u8  compression algorithm, 0 = none
//   10                       ...   content byte 0 onward
//
// The content continues from data offset 0 of each following page, so content
// position p lies on page (p + 10) div D of the file, at data offset
// (p + 10) mod D. A file of stored size s has ceil((s + 10) / D) pages, at
// least one.
#include <cstdint>
#include <span>

class TVTRPage;

inline constexpr int32_t kInternalFileHeaderSize = 10;

struct InternalFileHeader {
  int32_t StoredSize = 0;
  int32_t UncompressedSize = 0;
  uint8_t Algorithm = 0;
};

void EncodeInternalFileHeader(const InternalFileHeader& header,
                              std::span<uint8_t, kInternalFileHeaderSize> out);
InternalFileHeader DecodeInternalFileHeader(std::span<const uint8_t, kInternalFileHeaderSize> in);

// The header in the data area of a file's first page; setting it marks the
// page dirty. Both raise 20237 for a page too small to hold it.
InternalFileHeader HeaderOfPage(const TVTRPage& first);
void SetHeaderOfPage(TVTRPage& first, const InternalFileHeader& header);

// The page data size, which must leave room for the header and one content
// byte; raises 20237 when it does not.
int32_t InternalFileDataSize(int32_t page_data_size);

// Pages that hold stored_size content bytes; at least 1 (also for a damaged,
// negative size).
int32_t InternalFilePageCount(int64_t stored_size, int32_t data_size);

struct ContentPlace {
  int64_t PageIndex;   // counted from the file's first page
  int32_t DataOffset;  // within that page's data area
};

// Requires position >= 0.
ContentPlace PlaceOfContent(int64_t position, int32_t data_size);
