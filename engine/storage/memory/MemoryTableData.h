#pragma once
// TVTRMemoryTableData: a table of the "MEMORY" database. Everything lives in
// the engine's memory and goes with the table: records in a memory record
// manager, indexes on the pages of a memory page manager, BLOB values in
// blocks named by handles (MemoryBlobBlocks.h). It supports every record
// operation.
//
// A session's record changes, like its index pages, stay pending until the
// session commits (at once outside a transaction): a rollback restores the
// records, the indexes and the BLOB values exactly. The BLOB values a change
// drops are freed when it commits.
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/storage/memory/MemoryBlobBlocks.h"
#include "engine/storage/memory/MemoryPageManager.h"
#include "engine/storage/memory/MemoryRecordManager.h"
#include "engine/storage/memory/ProcessTableData.h"

class TVTRMemoryTableData : public TVTRProcessTableData {
 public:
  explicit TVTRMemoryTableData(TVTRDatabaseData& database);

  TVTRMemoryPageManager& MemoryPages() { return static_cast<TVTRMemoryPageManager&>(*PageManager); }
  TVTRMemoryRecordManager& MemoryRecords() { return static_cast<TVTRMemoryRecordManager&>(*RecordManager); }
  // BLOB values held, in stored records or in record buffers not yet written.
  size_t BlobValueCount() const { return blobs_.Count(); }

  void CreateRecordManager() override;
  int64_t GetPositionCount() override;
  int64_t RecordIDToPosition(const TVTRRecordID& id) override { return id.PageNo; }
  TVTRRecordID PositionToRecordID(int64_t position) override;
  // `blob` is a stream this table's OpenBlob gave. The value replaced in the
  // record buffer is freed at once when no stored record holds it.
  void SaveBlob(TVTRCursor& cursor, int32_t field_no, TVTRStream& blob) override;
  // Nulls the field; frees its value when no stored record holds it.
  void ReleaseBlob(uint8_t* record, int32_t field_no) override;
  // A field whose BlobBlockSize is 0 raises 10420.
  std::unique_ptr<TVTRStream> OpenBlob(TVTRCursor& cursor, bool is_insert, int32_t field_no,
                                       TVTRBlobOpenMode mode) override;
  // A number without a record leaves the cursor where it was.
  void SetNaturalRecNo(TVTRCursor& cursor, int64_t rec_no) override;
  int64_t GetNaturalRecNo(TVTRCursor& cursor) override;
  int64_t GetTableRecordCount(TVTRCursor& cursor) override;
  // The field's counter: every session of the database shares session ID 0.
  int64_t GetLastAutoincValue(int32_t session_id, int32_t field_no) override;
  void AfterRollback(int32_t session_id) override;
  void MarkSession(int32_t session_id) override;
  void RollbackToMark(int32_t session_id) override;
  void CommitSession(int32_t session_id) override;

 protected:
  TVTRRecordOperationCodes RecordOperationCodes() const override {
    return {10010, 10018, 10014, 10017, 10013};
  }
  int32_t NoFieldsError() const override { return 10025; }
  void EmptyStorage() override;
  void BeforeRecordWrite(TVTRCursor& cursor, TVTRRecordOperation operation) override {
    write_operation_ = operation;
  }
  // A value another stored record holds is copied, so each value has one record.
  void SaveRecordBlobs(TVTRCursor& cursor) override;
  // The values of a deleted record are freed when the delete commits.
  void DeleteRecordBlobs(TVTRCursor& cursor) override {}
  // The written record's new values become its own.
  void AfterRecordWrite(TVTRCursor& cursor) override;

 private:
  uint8_t* BlobField(uint8_t* record, int32_t field_no) const;
  // The values the session adopted after the first `kept` belong to no record.
  void DisownAdoptedBlobs(int32_t session_id, size_t kept);
  // The block a non-null BLOB field names; a stale handle raises 10112.
  TVTRMemoryBlobBlock& BlockOf(uint8_t* record, int32_t field_no);
  // Frees the values of a replaced record image that its slot no longer holds.
  void ReleaseReplaced(int32_t slot, const uint8_t* image);

  TVTRMemoryBlobBlocks blobs_;
  std::vector<int32_t> blob_fields_;                                    // numbers of the BLOB fields
  TVTRRecordOperation write_operation_ = TVTRRecordOperation::kInsert;  // of the record write under way
  // Per session: values its pending writes gave to a record.
  std::unordered_map<int32_t, std::vector<uint32_t>> adopted_blobs_;
  // Per session: how many values it had adopted at its mark.
  std::unordered_map<int32_t, size_t> adopted_at_mark_;
};
