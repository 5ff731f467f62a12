#pragma once
// TVTRBlobPageSequence: BLOB values too large for a shared page, each on
// TableBlob pages of its own. With D = page data size:
//
//   page               content of the data area
//   first page         0..21 value header (id 0), 22..31 page-list locator
//                      (BlobFormat.h), from 32 the first D - 32 stored bytes
//   further data pages D stored bytes each, the last one partly filled
//   page list          i32 numbers of all data pages in order, the first one
//                      included: right behind the data on the last data page,
//                      or from offset 0 of a new page when fewer than 4 bytes
//                      are left there; (D - offset) div 4 entries per page,
//                      further list pages linked through the page header's
//                      next-page field
//
// A sequence of L stored bytes has 1 + ceil((L - (D - 32)) / D) data pages.
// Every page is used through the page cache in one session and released on
// every path.
#include <cstdint>
#include <vector>

#include "engine/storage/pager/PageManager.h"
#include "engine/storage/blob/BlobCache.h"
#include "engine/storage/blob/BlobFormat.h"

inline constexpr int32_t kSequenceDataAt = kBlobValueHeaderSize + kBlobPageListLocatorSize;

class TVTRBlobPageSequence {
 public:
  TVTRBlobPageSequence(TVTRPageManager& pages, int32_t session_id) : pages_(pages), session_id_(session_id) {}

  // Stores the value and answers its first page. When it fails, the pages it
  // added are deleted again.
  int32_t Store(const CachedBlobValue& value);
  // Fills the value; 20162 when the sequence cannot be followed.
  void Read(int32_t first_page, CachedBlobValue& value);
  // Deletes the data pages and the pages of the list.
  void Delete(int32_t first_page);
  // Whether the page's header and locator describe a sequence: with E list
  // entries, (E - 2) × D < L < E × D. Any failure answers false.
  bool IsSequence(int32_t first_page);

  // Data pages of a sequence of `stored_size` bytes.
  static int64_t DataPageCount(int64_t stored_size, int32_t data_size);

 private:
  struct FirstPage {
    BlobValueHeader Header;
    BlobPageListLocator Locator;
  };
  FirstPage ReadFirstPage(int32_t first_page);
  // The data pages the list names, checked against the value's size, and
  // the pages that hold the list.
  void ReadPageList(int32_t first_page, const FirstPage& first, std::vector<int32_t>& data_pages,
                    std::vector<int32_t>& list_pages);

  TVTRPageManager& pages_;
  int32_t session_id_;
};
