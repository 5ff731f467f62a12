#pragma once
// TVTRDatabaseFreeSpaceManager: which pages of a database file are in use,
// kept in two kinds of map pages inside the file. With D = page data size and
// E = PagesPerExtent:
//
//   PFS page k (type 3) at page k × P, P = 8 × D: one bit per page of
//     k × P .. k × P + P − 1, bit (n − k × P) mod 8 of data byte
//     (n − k × P) div 8, lowest bit first; 1 = in use. Its own bit is set.
//   EAM page k (type 2) at page k × Q, Q = X × E, X = 4 × D, or one page
//     later when k × Q is a PFS position: two bits per extent (E pages) of
//     extents k × X .. k × X + X − 1, at bits 2 × (i mod 4) of data byte
//     i div 4, i = e mod X; 0 never computed, 1 has a free page, 2 not
//     written, 3 full. The allocator takes 0 and 1 as having room.
//
// Map pages are never cached by the page cache, enciphered or handed out.
// Every public operation runs under the header lock and starts from the
// header as it is on disk, so several processes can allocate in one file; it
// writes a changed map page at once and the header when PageCount or
// LastUsedPage changed. A process that dies between the two leaves maps that
// say more than the header: a page marked used above LastUsedPage (taken into
// account before the file grows or shrinks), or marks past PageCount (cleared
// when the file grows over them).
//
// Held allocations: where no other process can allocate (a single-user or
// exclusive open with write access), allocations after the first keep the
// header values and the map pages they read or changed in memory, and take
// neither the header lock nor a system call unless the file grows. What they
// changed reaches the file, map pages first and the header last, exactly as
// one allocation would have written it, before the next commit starts its
// journal and before any other map operation; until then the file says the
// pages are free, and a process that dies leaves them so (and at most a file
// longer than its header, which the next growth takes back).
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/storage/pager/Page.h"

class TVTRDiskPageManager;

class TVTRDatabaseFreeSpaceManager {
 public:
  // Takes E, PageCount and LastUsedPage from the manager's header copy.
  explicit TVTRDatabaseFreeSpaceManager(TVTRDiskPageManager& manager);
  ~TVTRDatabaseFreeSpaceManager();

  // A free page, marked in use; grows the file when there is none. A growth
  // the disk has no room for fails with 30370 and leaves the header and the
  // maps as they were, so that the next allocation works once there is room.
  int32_t AllocatePage();
  // Marks the page free (30427 when it is free already) and its version on
  // disk as freed, then trims whole growth steps of free pages off the end.
  void FreePage(int32_t page_no);
  // Writes what held allocations changed, under the header lock; nothing when
  // none is held. A write that fails keeps it held for the next try.
  void WriteHeldAllocations();
  bool HoldsAllocations() const { return held_; }

  // Raises LastUsedPage to the highest page the maps call used, when an
  // allocation cut short left it below that.
  void CorrectLastUsedPage();
  // Every page of the file, map pages aside, that the maps call used, in
  // page order. Bits past the end of the file mean nothing and are skipped.
  std::vector<int32_t> UsedDataPages();
  bool IsMapPage(int32_t page_no) const;
  // The PFS page and the EAM page that keep the page's state.
  std::array<int32_t, 2> MapPagesOf(int32_t page_no) const;
  // Raises 30434 for a map page.
  void CheckNotMapPage(int32_t page_no) const;

  int32_t LastUsedPage() const { return last_used_page_; }
  int32_t PageCount() const { return page_count_; }
  // Set and read by the database object while a damaged file is copied.
  bool RepairMode() const { return repair_mode_; }
  void SetRepairMode(bool repair_mode) { repair_mode_ = repair_mode; }

 private:
  class MapPages;
  class Operation;

  int32_t GetGrowStep() const;
  int32_t EAMPageNo(int64_t index) const;
  int32_t FindFreePage();
  int32_t SearchExtents(int64_t eam_index);
  int32_t Grow();
  void SetPageUsed(int32_t page_no, bool used);
  void SetPFSBit(int32_t page_no, bool used);
  // Clears the PFS bits of the pages first .. end - 1, which one PFS page maps.
  void ClearPFSBits(int32_t first, int32_t end);
  void UpdateExtentEntry(int32_t page_no);
  bool IsPageUsed(int32_t page_no, int32_t native_error);
  // The highest data page below PageCount that the maps call used, or -1.
  int32_t FindLastUsedPage();
  void TrimTail();
  void ReloadHeader();
  // Puts this object's LastUsedPage and PageCount in the manager's header
  // copy, which a held allocation grows from.
  void ApplyHeldHeader();
  void SaveHeader();

  TVTRDiskPageManager& manager_;
  int64_t pages_per_extent_;  // E
  int64_t pfs_span_;          // P: pages per PFS page
  int64_t eam_extents_;       // X: extents per EAM page
  int64_t eam_span_;          // Q: pages per EAM page
  int32_t last_used_page_;
  int32_t page_count_;
  // The header's values as the file holds them.
  int32_t loaded_last_used_page_ = -1;
  int32_t loaded_page_count_ = 0;
  bool repair_mode_ = false;
  const bool may_hold_;  // no other process can allocate in the file
  bool held_ = false;    // the map pages and header values in memory are ahead of the file
  std::unique_ptr<MapPages> map_pages_;  // the map pages read during one operation
};
