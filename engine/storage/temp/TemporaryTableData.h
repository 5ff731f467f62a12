#pragma once
// TVTRTemporaryTableData: a table of the "TEMP" database, where the SQL
// engine builds its results. It is append-only: records are inserted, read,
// counted, numbered, indexed and searched, never updated or deleted one by
// one; the table is emptied or dropped as a whole. Records and index pages
// stay in memory up to the temporary memory budget each and spill to "VTR"
// temporary files beyond it, unless the creating cursor asks to keep the
// table in memory (KeepTempInMemory).
//
// BLOB values are appended to one stream of the table (a temporary stream,
// or a memory stream with KeepInMemory); an entry is never reused before the
// table is emptied. Entry layout, little-endian:
//   offset  width  content
//   0       4      compressed blocks of the value (low 32 bits)
//   4       8      uncompressed size of the value
//   12      8      length L of the data that follows
//   20      L      the value as the compressed BLOB stream keeps it
// A record's BLOB field holds the entry's 8-byte offset at the field's
// offset; the null bit marks a missing value.
//
// Inserts a session makes inside a transaction are dropped again when it
// rolls back.
#include <cstdint>
#include <memory>

#include "engine/foundation/stream/VTRStream.h"
#include "engine/storage/memory/ProcessTableData.h"
#include "engine/storage/temp/TemporaryPageManager.h"
#include "engine/storage/temp/TemporaryRecordManager.h"

class TVTRTemporaryTableData : public TVTRProcessTableData {
 public:
  static constexpr int32_t kBlobEntryHeaderSize = 20;
  // Spilled records move in blocks of at least 10 records and 64 KiB.
  static constexpr int32_t kRecordsPerBlock = 10;
  static constexpr int32_t kMinBlockBytes = 65536;

  explicit TVTRTemporaryTableData(TVTRDatabaseData& database);

  TVTRTemporaryRecordManager& TemporaryRecords() {
    return static_cast<TVTRTemporaryRecordManager&>(*RecordManager);
  }
  TVTRTemporaryPageManager& TemporaryPages() { return static_cast<TVTRTemporaryPageManager&>(*PageManager); }
  // Nil for a table without BLOB fields.
  TVTRStream* BlobStream() const { return blob_stream_.get(); }

  void CreateRecordManager() override;
  int64_t GetPositionCount() override { return RecordManager ? RecordManager->RecordCount : 0; }
  int64_t RecordIDToPosition(const TVTRRecordID& id) override {
    return TVTRTemporaryRecordManager::NumberOf(id);
  }
  TVTRRecordID PositionToRecordID(int64_t position) override {
    return TVTRTemporaryRecordManager::RecordIDOf(position);
  }
  // `blob` is a stream this table's OpenBlob gave. Without a BLOB stream
  // raises 10144; a failed positioning 10422, a short write 10145.
  void SaveBlob(TVTRCursor& cursor, int32_t field_no, TVTRStream& blob) override;
  // Without a BLOB stream raises 10140; an entry that cannot be positioned
  // or read raises 10141 or 10142.
  std::unique_ptr<TVTRStream> OpenBlob(TVTRCursor& cursor, bool is_insert, int32_t field_no,
                                       TVTRBlobOpenMode mode) override;
  bool UpdateRecord(TVTRCursor& cursor) override { return false; }
  bool DeleteRecord(TVTRCursor& cursor) override { return false; }
  // Record n is number n - 1; numbers below 2 give the first record.
  void SetNaturalRecNo(TVTRCursor& cursor, int64_t rec_no) override;
  int64_t GetNaturalRecNo(TVTRCursor& cursor) override;
  int64_t GetTableRecordCount(TVTRCursor& cursor) override;
  void AfterRollback(int32_t session_id) override;
  void CommitSession(int32_t session_id) override;

 protected:
  // Updates and deletes are refused before their checks, so only the insert codes occur.
  TVTRRecordOperationCodes RecordOperationCodes() const override {
    return {10134, 10135, 10134, 10135, 10134};
  }
  int32_t NoFieldsError() const override { return 10132; }
  void PrepareCreate(TVTRCursor& cursor) override;
  void FinishCreate() override;
  void EmptyStorage() override;

 private:
  void NewBlobStream();

  std::unique_ptr<TVTRStream> blob_stream_;
  int64_t committed_count_ = 0;  // records that stand whatever a session rolls back
};
