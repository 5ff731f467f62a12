#pragma once
// TVTRMemoryRecordManager: the record store of a memory table. Records sit in
// fixed-size slots (RecordSlots.h); a record's RecordID is {slot, 0}, storage
// order is slot order and a record's bitmap position is its slot. A new
// record takes the slot after the highest live one (slot 0 in an empty
// table), so slots freed below it stay empty until the table is emptied.
// Record numbers count the live slots from 1 in slot order; while the live
// slots are exactly 0 .. RecordCount - 1, slot s is record s + 1.
//
// Every change is logged for its session, with the former image of each
// record it overwrites or deletes, until the session commits or rolls back:
// memory records are not in pages, so the page cache's rollback cannot undo
// them. Callers hold the database's critical section.
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "engine/foundation/containers/VTRBitsArray.h"
#include "engine/storage/memory/RecordSlots.h"
#include "engine/storage/table/RecordManager.h"

class TVTRMemoryRecordManager : public TVTRBaseRecordManager {
 public:
  static constexpr int32_t kGrowthStep = 1000;

  // A record size of 0 raises 10011.
  TVTRMemoryRecordManager(int32_t record_size, int32_t growth_step);

  // Also forgets every session's logged changes. ChangeCount moves on, so
  // no record bitmap of the former records passes for current.
  void EmptyTable(int32_t session_id) override;
  bool InsertRecord(int32_t session_id, const uint8_t* record, TVTRRecordID& id) override;
  // False for a slot that holds no record.
  bool UpdateRecord(int32_t session_id, const uint8_t* record, const TVTRRecordID& id) override;
  bool DeleteRecord(int32_t session_id, const TVTRRecordID& id) override;
  void GetRecord(int32_t session_id, NavigationRequest& request) override;
  int CompareRecordIDs(const TVTRRecordID& a, const TVTRRecordID& b) override;
  // Interpolates between the lowest and the highest live slot.
  int64_t EstimateRecordNo(int32_t session_id, const TVTRRecordID& id) override;

  // The slot of record number rec_no, or -1 outside 1 .. RecordCount.
  int32_t SlotOfRecordNo(int64_t rec_no) const;
  // The record number of a slot, or -1 when the slot holds no record.
  int64_t RecordNoOfSlot(int32_t slot) const;
  // The record in a live slot, or nullptr.
  uint8_t* LiveRecord(int32_t slot);
  // Slots a record bitmap of the table needs: the highest live slot + 1.
  int64_t PositionCount() const { return RecordCount == 0 ? 0 : int64_t{max_slot_} + 1; }

  // Sees the slot and the former image of each record a session's changes
  // overwrote or deleted, oldest change first.
  using ReplacedRecordVisitor = std::function<void(int32_t slot, const uint8_t* image)>;
  // The session's changes stand; `replaced` (when set) sees what they replaced.
  void CommitChanges(int32_t session_id, const ReplacedRecordVisitor& replaced);
  // Undoes the session's changes, newest first. ChangeCount moves on, so no
  // record bitmap filled meanwhile passes for current.
  void RollbackChanges(int32_t session_id);
  // A savepoint in the session's log: RollbackToMark undoes the changes
  // logged since, newest first, and ends the mark; commit and rollback end
  // it too. A new mark replaces the old one.
  void MarkChanges(int32_t session_id);
  void RollbackToMark(int32_t session_id);

 private:
  enum class ChangeKind : uint8_t { kInsert, kUpdate, kDelete };
  struct Change {
    ChangeKind kind;
    int32_t slot;
    size_t image;  // offset of the former record in ChangeLog::images (update, delete)
  };
  struct ChangeLog {
    std::vector<Change> changes;
    std::vector<uint8_t> images;
    std::optional<std::pair<size_t, size_t>> mark;  // lengths of changes and images at the mark
  };

  bool IsLive(int32_t slot) const { return slot >= 0 && slot < live_.Size() && live_.GetBit(slot); }
  bool Contiguous() const { return min_slot_ == 0 && int64_t{max_slot_} + 1 == RecordCount; }
  // Logs a change before it is made; the former image is the slot's record.
  void LogChange(int32_t session_id, ChangeKind kind, int32_t slot);
  // Undoes the log's changes from the first to keep on, newest first, and
  // cuts the log to the lengths given.
  void UndoChanges(ChangeLog& log, size_t changes_kept, size_t images_kept);
  void SetLive(int32_t slot, bool live);
  // min and max from the live slots.
  void FindBounds();
  void TakeRecord(int32_t slot, NavigationRequest& request);

  TVTRRecordSlots store_;
  TVTRBitsArray live_;  // one bit per slot of the store, set while the slot holds a record
  int32_t min_slot_ = 0;
  int32_t max_slot_ = 0;
  std::unordered_map<int32_t, ChangeLog> logs_;
};
