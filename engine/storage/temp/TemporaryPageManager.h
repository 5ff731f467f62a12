#pragma once
// TVTRTemporaryPageManager: the pages of a temporary table's indexes. Pages
// are 4096 bytes without a header. The first MemoryPageLimit page numbers
// live in a memory page manager; pages beyond go to a spill file, page n at
// offset n × 4096, a "VTR" temporary file made on first use and deleted with
// the manager. With KeepInMemory every page stays in memory.
//
// Freed numbers are reused, in memory first; memory numbers stay below the
// limit and file numbers at or above it, so a number tells where its page is.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/foundation/containers/VTRBitsArray.h"
#include "engine/foundation/stream/VTRFileStream.h"
#include "engine/storage/pager/PageManager.h"
#include "engine/storage/memory/MemoryPageManager.h"

class TVTRTemporaryPageManager : public TVTRPageManager {
 public:
  static constexpr int32_t kPageSize = TVTRMemoryPageManager::kPageSize;

  // `memory_budget`: bytes of pages kept in memory.
  TVTRTemporaryPageManager(bool keep_in_memory, int64_t memory_budget);

  void AllocatePage(TVTRPage& page) override;
  void FreePage(int32_t page_no) override;
  // A page that is not allocated raises 10396 (read) or 10397 (write); a
  // spill file that cannot be written raises 10125.
  bool ReadPage(TVTRPage& page) override;
  void WritePage(TVTRPage& page) override;

  int32_t MemoryPageLimit() const { return memory_page_limit_; }
  bool KeepInMemory() const { return keep_in_memory_; }
  // The spill file's name; empty before the first page spilled.
  std::string SpillFileName() const { return spill_ ? spill_->FileName() : std::string(); }

 private:
  bool InMemory(int32_t page_no) const { return keep_in_memory_ || page_no < memory_page_limit_; }
  void MarkUsed(int32_t page_no);
  TVTRFileStream& SpillFile();

  TVTRBitsArray used_pages_;  // one bit per page number handed out, set while allocated
  int32_t page_numbers_ = 0;  // numbers handed out so far (highest + 1)
  std::unique_ptr<TVTRFileStream> spill_;
  std::vector<int32_t> free_file_pages_;
  int32_t memory_page_limit_;
  // Made with the first page: most result tables have no index.
  std::unique_ptr<TVTRMemoryPageManager> memory_pages_;
  bool keep_in_memory_;
};
