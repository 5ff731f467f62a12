// The record side of a disk table: the engine's steps of the write road with
// its BLOB values and counters, the multi-user read bracket, record numbers
// in storage order, and the BLOB streams of a cursor.

#include <optional>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/containers/BufferBits.h"
#include "engine/foundation/stream/VTRTemporaryStream.h"
#include "engine/storage/base/ResultCodes.h"
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/disk/DiskTableData.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/records/DiskRecordManager.h"

namespace {

bool InTransaction(const TVTRCursor& cursor) {
  return cursor.Session != nullptr && cursor.Session->InTransaction;
}

}  // namespace

// Holds the shared read lock of one read in multi-user mode; single-user
// reads need none and always hold. Under the lock the read is a checked read
// of the page cache: the lock keeps other processes from committing to the
// table, so the change counter read once stands for the whole read.
class TVTRDiskTableData::ReadBracket {
 public:
  ReadBracket(TVTRDiskTableData& table, const TVTRCursor& cursor)
      : table_(table),
        session_id_(SessionOf(&cursor)),
        locked_(table.Database.MultiUser &&
                table.LockTable(session_id_, tltRead, kReadLockTries, kReadLockDelayMs)),
        held_(locked_ || !table.Database.MultiUser) {
    if (locked_) checked_.emplace(*table.PageManager);
  }
  ~ReadBracket() {
    checked_.reset();
    if (!locked_) return;
    try {
      table_.UnlockTable(session_id_, tltRead);
    } catch (...) {
      // The lock manager keeps the use; the session's end gives it back.
    }
  }
  ReadBracket(const ReadBracket&) = delete;
  ReadBracket& operator=(const ReadBracket&) = delete;

  bool Held() const { return held_; }

 private:
  TVTRDiskTableData& table_;
  int32_t session_id_;
  bool locked_;
  bool held_;
  std::optional<CheckedReadScope> checked_;
};

template <typename Read>
auto TVTRDiskTableData::Bracketed(TVTRCursor& cursor, int32_t native_error, Read&& read) {
  TVTRDatabaseDataGuard guard(Database);
  ReadBracket bracket(*this, cursor);
  if (!bracket.Held()) throw EVTRException(native_error, "Table is locked");
  return read();
}

TVTRGetRecordResult TVTRDiskTableData::GetRecord(TVTRCursor& cursor, TVTRFetchMode direction) {
  if (!Database.MultiUser) return TVTRTableData::GetRecord(cursor, direction);
  TVTRDatabaseDataGuard guard(Database);
  ReadBracket bracket(*this, cursor);
  if (!bracket.Held()) {
    cursor.LastResult = kResultTableLocked;
    return grError;
  }
  if (direction != fmCurrent) LoadMostUpdated(SessionOf(&cursor));
  IndexManager->RebuildTemporaryIndexes(cursor);
  return TVTRTableData::GetRecord(cursor, direction);
}

bool TVTRDiskTableData::Locate(TVTRCursor& cursor, TVTRExpression* expression) {
  return Bracketed(cursor, 20214, [&] { return TVTRTableData::Locate(cursor, expression); });
}

bool TVTRDiskTableData::GotoKey(TVTRCursor& cursor, TVTRScanComparison comparison) {
  return Bracketed(cursor, 20215, [&] { return TVTRTableData::GotoKey(cursor, comparison); });
}

void TVTRDiskTableData::SetRecNo(TVTRCursor& cursor, int64_t rec_no) {
  Bracketed(cursor, 20216, [&] { TVTRTableData::SetRecNo(cursor, rec_no); });
}

int64_t TVTRDiskTableData::GetRecNo(TVTRCursor& cursor) {
  return Bracketed(cursor, 20217, [&] { return TVTRTableData::GetRecNo(cursor); });
}

int64_t TVTRDiskTableData::GetTableRecordCount(TVTRCursor& cursor) {
  return Bracketed(cursor, 20218, [&] {
    if (Database.MultiUser) LoadMostUpdated(SessionOf(&cursor));
    return RecordManager->RecordCount;
  });
}

int32_t TVTRDiskTableData::UnlistedRecordPageCount(TVTRCursor& cursor) {
  TVTRDatabaseDataGuard lock(Database);
  return static_cast<int32_t>(DiskRecords().UnlistedPages(SessionOf(&cursor)).size());
}

void TVTRDiskTableData::SetNaturalRecNo(TVTRCursor& cursor, int64_t rec_no) {
  Bracketed(cursor, 20219,
            [&] { cursor.CurrentRecordID = DiskRecords().GetRecordIDByRecNo(SessionOf(&cursor), rec_no); });
}

int64_t TVTRDiskTableData::GetNaturalRecNo(TVTRCursor& cursor) {
  return Bracketed(cursor, 20220,
                   [&] { return DiskRecords().GetRecNo(SessionOf(&cursor), cursor.CurrentRecordID); });
}

bool TVTRDiskTableData::InsertRecord(TVTRCursor& cursor) {
  return WriteWithBlobs(cursor, [&] { return TVTRTableData::InsertRecord(cursor); });
}

bool TVTRDiskTableData::UpdateRecord(TVTRCursor& cursor) {
  return WriteWithBlobs(cursor, [&] { return TVTRTableData::UpdateRecord(cursor); });
}

bool TVTRDiskTableData::DeleteRecord(TVTRCursor& cursor) {
  return WriteWithBlobs(cursor, [&] { return TVTRTableData::DeleteRecord(cursor); });
}

void TVTRDiskTableData::BeforeRecordWrite(TVTRCursor& cursor, TVTRRecordOperation operation) {
  operation_ = operation;
  if (!Database.MultiUser) return;
  // An insert has read the counters already, before its autoincrement values were given.
  if (operation != TVTRRecordOperation::kInsert) LoadMostUpdated(SessionOf(&cursor));
  IndexManager->RebuildTemporaryIndexes(cursor);
}

void TVTRDiskTableData::SaveRecordBlobs(TVTRCursor& cursor) {
  change_count_before_ = RecordManager->ChangeCount;
  pending_blobs_.emplace(BlobManager->SaveRecordBlobs(SessionOf(&cursor), cursor.CurrentRecord,
                                                      operation_ == TVTRRecordOperation::kUpdate));
}

void TVTRDiskTableData::AfterRecordWrite(TVTRCursor& cursor) {
  const int32_t session_id = SessionOf(&cursor);
  if (operation_ == TVTRRecordOperation::kDelete)
    BlobManager->DeleteRecordBlobs(session_id, cursor.CurrentRecord);
  else if (pending_blobs_)
    pending_blobs_->DeleteReplaced();
  SaveMostUpdated(session_id);
}

template <typename Write>
bool TVTRDiskTableData::WriteWithBlobs(TVTRCursor& cursor, Write&& write) {
  TVTRDatabaseDataGuard guard(Database);
  pending_blobs_.reset();
  bool written = false;
  try {
    written = write();
  } catch (...) {
    SettleBlobs(cursor, false);
    throw;
  }
  SettleBlobs(cursor, written);
  return written;
}

void TVTRDiskTableData::SettleBlobs(TVTRCursor& cursor, bool written) {
  if (!pending_blobs_) return;
  TVTRRecordBlobWrite blobs = std::move(*pending_blobs_);
  pending_blobs_.reset();
  if (written) {
    blobs.Finish();
    return;
  }
  // Outside a transaction the table layer rolled the session back, new
  // values and all; the record gets its old references back as `blobs` goes.
  if (!DefersCommit(cursor) && !InTransaction(cursor)) return;
  if (RecordManager->ChangeCount == change_count_before_) {
    blobs.Undo();
    return;
  }
  // The record stands in the session's pages and names the new values.
  try {
    blobs.DeleteReplaced();
  } catch (...) {
    // The old values stay unreferenced in the file.
  }
  blobs.Finish();
}

void TVTRDiskTableData::SaveBlob(TVTRCursor& cursor, int32_t field_no, TVTRStream& blob) {
  TVTRDatabaseDataGuard guard(Database);
  VTR_ASSERT(dynamic_cast<TVTRLocalBLOBStream*>(&blob) != nullptr);
  BlobManager->SaveBlob(cursor.CurrentRecord, field_no, static_cast<TVTRLocalBLOBStream&>(blob));
}

void TVTRDiskTableData::ReleaseBlob(uint8_t* record, int32_t field_no) {
  TVTRDatabaseDataGuard guard(Database);
  if (BlobManager) BlobManager->ReleaseBlob(record, field_no, false);
}

void TVTRDiskTableData::FreeRecordBlobs(uint8_t* record) {
  TVTRDatabaseDataGuard guard(Database);
  if (!BlobManager || !FieldManager->HasBlobFields()) return;
  const TVTRFieldDefs& fields = FieldManager->FieldDefs;
  for (int32_t i = 0; i < fields.GetCount(); ++i) {
    if (IsBlobBaseType(fields.GetFieldDef(i).BaseType)) BlobManager->ReleaseBlob(record, i, true);
  }
}

std::unique_ptr<TVTRStream> TVTRDiskTableData::OpenBlob(TVTRCursor& cursor, bool, int32_t field_no,
                                                        TVTRBlobOpenMode mode) {
  TVTRDatabaseDataGuard guard(Database);
  const TVTRFieldDef& field = FieldManager->FieldDefs.GetFieldDef(field_no);
  if (field.BlobBlockSize == 0) throw EVTRException(20149, "Stream block size = 0 is not allowed");
  TVTRBLOBDescriptor descriptor;
  descriptor.block_size = field.BlobBlockSize;
  descriptor.algorithm = static_cast<TVTRCompressionMethod>(field.BlobCompressionAlgorithm);
  descriptor.mode = field.BlobCompressionMode;
  auto stored = std::make_unique<TVTRTemporaryStream>(KeepInMemory);
  uint8_t* record = cursor.CurrentRecord;
  if (mode == bomWrite || record == nullptr || GetBufferBit(field_no, record))
    return std::make_unique<TVTRLocalBLOBStream>(std::move(stored), descriptor, true, &cursor, mode,
                                                 field_no);
  try {
    BlobManager->ReadBlob(SessionOf(&cursor), record, *stored, descriptor, field_no);
    stored->SetPosition(0);
    if (descriptor.uncompressed_size < 0) throw EVTRException(20248, "Invalid blob field size");
    return std::make_unique<TVTRLocalBLOBStream>(std::move(stored), descriptor, false, &cursor, mode,
                                                 field_no);
  } catch (...) {
    BlobManager->ReleaseBlob(record, field_no, true);
    throw;
  }
}
