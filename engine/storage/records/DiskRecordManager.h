#pragma once
// TVTRDiskRecordManager: the record store of a table in the database file.
// Records live in the slots of TableRecord pages (SmallRecordPage.h); the
// record-page map lists those pages with their record counts. Storage order
// is page number order, then slot order; a RecordID is (page, slot).
//
// With R = the stored record size and D the page data size, every page of
// the table has N = trunc((D - 1) / (R + 1/8)) slots: room for the bitmap
// of N bits and N slots.
//
// The manager's part of the table's metadata (4 bytes):
//   0  4  i32 root page of the record-page map, -1 without one
// Its part of the table's counters file (8 bytes):
//   0  4  i32 ChangeCount
//   4  4  i32 RecordCount, the low 32 bits; read back sign-extended
//
// Callers hold the database's critical section (and, to write, the table
// lock). Changed pages belong to the session until it commits or rolls back.
//
// Repair mode (a damaged file being copied): a kill during a commit that
// splits or merges a leaf of the record-page map can leave record pages that
// no map entry lists. A walk in storage order then goes on, after the last
// listed page, through the table's unlisted record pages in page order, so
// that a copy reaches their committed records too.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/foundation/ValueBuffer.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/btree/PageIndex.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/table/RecordManager.h"
#include "platform/rtl/Stream.h"

inline constexpr int32_t kRecordManagerMetadataSize = 4;
// Versions above this mark pages that are freed or never written whole.
inline constexpr int32_t kMaxLiveRecordPageVersion = 0x7FFFFFFD;
inline constexpr int32_t kRecordCountersSize = 8;

class TVTRSmallRecordPage;

class TVTRDiskRecordManager : public TVTRBaseRecordManager {
 public:
  // `table_id` is the table's object ID, which its record pages carry.
  TVTRDiskRecordManager(TVTRDiskPageManager& page_manager, TVTRBaseFieldManager& field_manager,
                        int32_t table_id);

  // Lays the table out for records of `disk_record_size` stored bytes
  // (20174 when not even one fits a page) and zeroes the counters. Runs
  // whenever the table is created or opened, before the counters are loaded.
  void InitStorage(int32_t record_buffer_size, int32_t disk_record_size);
  // Creates the record-page map, in the system session.
  void CreateStorage();
  // Deletes every record page and the map.
  void DropStorage(int32_t session_id);
  void LoadMetadata(TStream& stream);
  void SaveMetadata(TStream& stream) const;
  // Read or write the counters at `offset` and advance it; a buffer too
  // short raises 20164.
  void LoadCounters(std::span<const uint8_t> buffer, int32_t& offset);
  void SaveCounters(std::span<uint8_t> buffer, int32_t& offset) const;

  void EmptyTable(int32_t session_id) override;
  // A record page without a free slot is reported as false; the disk's and
  // damaged pages' errors are raised. Either way the session's pages may
  // then hold part of the change, for the caller to roll back.
  bool InsertRecord(int32_t session_id, const uint8_t* record, TVTRRecordID& id) override;
  // False for a free slot or a page that is not a record page of this table.
  bool UpdateRecord(int32_t session_id, const uint8_t* record, const TVTRRecordID& id) override;
  bool DeleteRecord(int32_t session_id, const TVTRRecordID& id) override;
  void GetRecord(int32_t session_id, NavigationRequest& request) override;
  int CompareRecordIDs(const TVTRRecordID& a, const TVTRRecordID& b) override;
  int64_t EstimateRecordNo(int32_t session_id, const TVTRRecordID& id) override { return RecordCount / 2; }

  // Record numbers count from 1 in storage order. A number past the last
  // record raises 20113.
  TVTRRecordID GetRecordIDByRecNo(int32_t session_id, int64_t rec_no);
  int64_t GetRecNo(int32_t session_id, const TVTRRecordID& id);
  // The highest record page, or -1 without one.
  int32_t GetLastPageNo(int32_t session_id);

  // Whether a page may be read as a record page of this table: always in
  // repair mode and in files of the old format, else when it is a live
  // TableRecord page whose owner is the table.
  bool IsRecordPageValid(const TVTRPage& page) const;
  // A page with that header is a live TableRecord page of this table.
  bool IsOwnLiveRecordPage(int32_t version, uint16_t page_type, int32_t owner) const;

  // Repair mode only, else empty: the pages that the free-space maps call
  // used, whose header on disk makes them live TableRecord pages of this
  // table, and that the record-page map does not list; in page order. Found
  // once per record manager, as the file is not changed while it is copied.
  const std::vector<int32_t>& UnlistedPages(int32_t session_id);

  TVTRBTreeRecordPageIndex RecordPageIndex;
  TVTRDiskPageManager& PageManager;
  TVTRBaseFieldManager& FieldManager;
  int32_t TableID;
  int32_t RecordsPerPage = 0;  // N
  int32_t DiskRecordSize = 0;  // R

 private:
  TVTRSmallRecordPage View(TVTRPage& page) const;
  // A page of a RecordID the caller gives, which may be stale: type and
  // owner are checked rather than trusted. Nullptr when it fails the check.
  HeldPage GetCheckedPage(int32_t session_id, int32_t page_no);
  bool RepairMode() const;
  // The pages in storage order: the listed ones, then in repair mode the
  // unlisted ones. Each answers false when there is no such page.
  bool FirstStoredPage(int32_t session_id, int32_t& page_no);
  bool LastStoredPage(int32_t session_id, int32_t& page_no);
  bool NextStoredPage(int32_t session_id, int32_t page_no, int32_t& next_page_no);
  bool PriorStoredPage(int32_t session_id, int32_t page_no, int32_t& prior_page_no);
  // Whether `page_no` is one of the unlisted pages (repair mode only).
  bool IsUnlisted(int32_t session_id, int32_t page_no);
  // The first record of the lowest page or the last of the highest.
  void ReadFromEnd(int32_t session_id, NavigationRequest& request, bool from_start);
  void ReadFromRecord(int32_t session_id, NavigationRequest& request);
  // Reads the record at `id` on the page into the request; a free slot
  // raises "Record not found" with `free_code`.
  void TakeRecord(const TVTRSmallRecordPage& page, const TVTRRecordID& id, NavigationRequest& request,
                  int32_t free_code);

  VTRBufferPtr work_record_;  // one stored record, for conversions
  std::optional<std::vector<int32_t>> unlisted_pages_;
};
