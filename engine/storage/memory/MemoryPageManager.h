#pragma once
// TVTRMemoryPageManager: a page store in memory for the indexes of memory
// tables and the first pages of temporary tables. Pages are 4096 bytes
// without a header. Numbers are handed out lowest free first; a freed
// number's buffer stays for its next use.
//
// A page object never works on the stored buffer: it reads a copy, and its
// changes reach the store only through WritePage, which the page cache calls
// at commit. So a rollback, which drops the session's page objects, leaves
// the store as the last commit left it.
//
// Stream image (SaveToStream, LoadFromStream), little-endian:
//   offset  width  content
//   0       4      page slots: numbers the used-page bitmap holds (i32)
//   4       4      highest page number handed out (i32)
//   8       4      growth step (i32)
//   12      2      page size (u16)
//   14      2      page header size (u16)
//   16      4      allocated pages (i32)
//   20      8 + B  used-page bitmap as TVTRBitsArray writes it
//   28 + B  S      every page, in page-number order, used or not:
//                  S = page slots × page size
#include <cstdint>
#include <vector>

#include "engine/foundation/containers/VTRBitsArray.h"
#include "engine/storage/pager/PageManager.h"
#include "platform/rtl/Stream.h"

class TVTRMemoryPageManager : public TVTRPageManager {
 public:
  static constexpr int32_t kPageSize = 4096;
  static constexpr int32_t kGrowthStep = 50;

  TVTRMemoryPageManager();

  void AllocatePage(TVTRPage& page) override;
  void FreePage(int32_t page_no) override;
  // A page that is not allocated raises 10392 (read) or 10393 (write).
  bool ReadPage(TVTRPage& page) override;
  void WritePage(TVTRPage& page) override;

  // Short writes raise 10362 to 10367 for the six leading fields, the
  // bitmap's codes, and 10368 for the pages.
  void SaveToStream(TStream& stream);
  // Replaces every page by the image's. Short reads raise 10369 to 10374,
  // the bitmap's codes, and 10375; a page size other than 4096, a header,
  // or counts that contradict each other raise 10369.
  void LoadFromStream(TStream& stream);

  bool IsAllocated(int32_t page_no) const;
  // Whether a number below the highest one handed out is free again, so the
  // next allocation takes no new number.
  bool HasFreedPage() const { return used_pages_.SetBitsCount() <= max_page_ && page_slots_ > 0; }
  int32_t PageSlots() const { return page_slots_; }
  int32_t MaxPage() const { return max_page_; }
  int32_t GrowthStep() const { return growth_step_; }

 private:
  // The stored buffer of a page number, made (zero-filled) on first use.
  uint8_t* StoredPage(int32_t page_no);

  TVTRBitsArray used_pages_;  // page_slots_ bits, set while allocated
  int32_t page_slots_ = 0;
  int32_t max_page_ = 0;
  int32_t growth_step_ = kGrowthStep;
  std::vector<PageBuffer> store_;  // page_slots_ entries; null until the number is first used
};
