#pragma once
// TVTRTemporaryRecordManager: the append-only record store of a temporary
// table. Records are numbered 0, 1, 2, ... in insert order; a record's
// RecordID holds its number in its 6 bytes (page: the low 32 bits, slot: the
// high 16). Records below MemoryRecordLimit stay in memory (RecordSlots.h);
// record n beyond lies in a spill file at (n - MemoryRecordLimit) ×
// RecordSize, a "VTR" temporary file made on first use and deleted when the
// table is emptied or freed. With KeepInMemory nothing spills.
//
// Spilled records are written a block at a time from a write buffer and read
// a block at a time into a read buffer, so reading them back in order costs
// one file read per block. Records are never updated or deleted one by one.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/stream/VTRFileStream.h"
#include "engine/storage/memory/RecordSlots.h"
#include "engine/storage/table/RecordManager.h"

class TVTRTemporaryRecordManager : public TVTRBaseRecordManager {
 public:
  static constexpr int32_t kGrowthStep = 1000;

  // A record size of 0 raises 10124. `memory_budget`: bytes of records kept
  // in memory; `records_per_block`: records written or read at a time (at
  // least 1).
  TVTRTemporaryRecordManager(int32_t record_size, bool keep_in_memory, int32_t growth_step,
                             int32_t records_per_block, int64_t memory_budget);

  // Frees the records and deletes the spill file. ChangeCount moves on.
  void EmptyTable(int32_t session_id) override;
  // False when the record cannot be stored; RecordCount is then unchanged.
  bool InsertRecord(int32_t session_id, const uint8_t* record, TVTRRecordID& id) override;
  bool UpdateRecord(int32_t, const uint8_t*, const TVTRRecordID&) override { return false; }
  bool DeleteRecord(int32_t, const TVTRRecordID&) override { return false; }
  // A spill file that cannot be positioned or read raises 10129 or 10130.
  void GetRecord(int32_t session_id, NavigationRequest& request) override;
  int CompareRecordIDs(const TVTRRecordID& a, const TVTRRecordID& b) override;
  // The record number, exact; -1 for a number outside the table.
  int64_t EstimateRecordNo(int32_t session_id, const TVTRRecordID& id) override;

  // Drops the records from number `count` on: appends that were rolled back.
  void Truncate(int64_t count);

  int64_t MemoryRecordLimit() const { return memory_record_limit_; }
  int32_t RecordsPerBlock() const { return records_per_block_; }
  // The spill file's name; empty while nothing spilled.
  std::string SpillFileName() const { return spill_ ? spill_->FileName() : std::string(); }

  static TVTRRecordID RecordIDOf(int64_t number);
  static int64_t NumberOf(const TVTRRecordID& id);

 private:
  bool InMemory(int64_t number) const { return keep_in_memory_ || number < memory_record_limit_; }
  // Writes the write buffer to the spill file: a failed positioning raises
  // 10128, a short write 10125.
  void WriteOut();
  void ReadRecord(int64_t number, uint8_t* buffer);

  TVTRRecordSlots memory_;
  int64_t memory_record_limit_;
  bool keep_in_memory_;
  int32_t records_per_block_;
  std::vector<uint8_t> write_buffer_;  // records_per_block_ records, the newest `buffered_` of the table
  int32_t buffered_ = 0;
  std::vector<uint8_t> read_buffer_;  // spilled records read_first_ .. read_first_ + read_count_ - 1
  int64_t read_first_ = 0;
  int32_t read_count_ = 0;
  std::unique_ptr<TVTRFileStream> spill_;
};
