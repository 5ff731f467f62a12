// The record operations every engine shares: store the record, keep the
// indexes and the cursor's record bitmap in step, place the cursor, and
// commit at once outside a transaction.
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/table/TableData.h"
#include "engine/storage/index/IndexManager.h"

namespace {

[[noreturn]] void RaiseNilPointer(int32_t native_error) {
  throw EVTRException(native_error, "Nil pointer occured");
}

}  // namespace

bool TVTRTableData::RunRecordWrite(TVTRCursor& cursor, const std::function<bool()>& write) {
  // A half-done change must not reach the session's next commit: outside a
  // transaction nobody else would roll it back.
  const auto roll_back = [&] {
    if (DefersCommit(cursor) || SessionInTransaction(cursor)) return;
    const int32_t session_id = SessionOf(&cursor);
    AutoRollback(session_id, false);
    AfterRollback(session_id);
  };
  bool written;
  try {
    written = write();
  } catch (...) {
    roll_back();
    throw;
  }
  if (!written) roll_back();
  return written;
}

void TVTRTableData::CommitRecordWrite(TVTRCursor& cursor) {
  if (!DefersCommit(cursor)) AutoCommit(SessionOf(&cursor), SessionInTransaction(cursor));
}

void TVTRTableData::UpdateBitmapAfterWrite(TVTRCursor& cursor, int32_t change_count_before, bool removed) {
  TVTRRecordBitmap* bitmap = cursor.RecordBitmap.get();
  if (bitmap == nullptr || !bitmap->Complete) return;
  const bool was_current = bitmap->Stamp == change_count_before;
  if (!removed && IsRecordVisible(cursor))
    bitmap->AddRecord(cursor.CurrentRecordID);
  else
    bitmap->RemoveRecord(cursor.CurrentRecordID);
  // Nobody else changed the table in between, so the bitmap is still the
  // whole view; a distinct view may have changed beyond this record.
  if (was_current && bitmap->Complete && !cursor.HasTemporaryIndex()) bitmap->Stamp = GetChangeCount();
}

bool TVTRTableData::InsertRecord(TVTRCursor& cursor) {
  TVTRDatabaseDataGuard lock(Database);
  const TVTRRecordOperationCodes codes = RecordOperationCodes();
  if (!RecordManager) RaiseNilPointer(codes.InsertWithoutManager);
  if (cursor.CurrentRecord == nullptr) RaiseNilPointer(codes.InsertWithoutRecord);
  return RunRecordWrite(cursor, [&] {
    BeforeRecordWrite(cursor, TVTRRecordOperation::kInsert);
    SaveRecordBlobs(cursor);
    const int32_t change_count = GetChangeCount();
    if (!RecordManager->InsertRecord(SessionOf(&cursor), cursor.CurrentRecord, cursor.CurrentRecordID))
      return false;
    if (IndexManager) IndexManager->InsertKeys(cursor);
    UpdateBitmapAfterWrite(cursor, change_count, false);
    cursor.Bof = false;
    cursor.Eof = false;
    AfterRecordWrite(cursor);
    CommitRecordWrite(cursor);
    return true;
  });
}

bool TVTRTableData::UpdateRecord(TVTRCursor& cursor) {
  TVTRDatabaseDataGuard lock(Database);
  const TVTRRecordOperationCodes codes = RecordOperationCodes();
  if (!RecordManager) RaiseNilPointer(codes.UpdateWithoutManager);
  if (cursor.CurrentRecord == nullptr) RaiseNilPointer(codes.UpdateWithoutRecord);
  return RunRecordWrite(cursor, [&] {
    BeforeRecordWrite(cursor, TVTRRecordOperation::kUpdate);
    // The stored record still holds the old key.
    if (IndexManager) IndexManager->UpdateKeys(cursor);
    SaveRecordBlobs(cursor);
    const int32_t change_count = GetChangeCount();
    if (!RecordManager->UpdateRecord(SessionOf(&cursor), cursor.CurrentRecord, cursor.CurrentRecordID))
      return false;
    UpdateBitmapAfterWrite(cursor, change_count, false);
    AfterRecordWrite(cursor);
    CommitRecordWrite(cursor);
    return true;
  });
}

bool TVTRTableData::DeleteRecord(TVTRCursor& cursor) {
  TVTRDatabaseDataGuard lock(Database);
  if (!RecordManager) RaiseNilPointer(RecordOperationCodes().DeleteWithoutManager);
  return RunRecordWrite(cursor, [&] {
    BeforeRecordWrite(cursor, TVTRRecordOperation::kDelete);
    const std::optional<TVTRRecordID> landing = FindRecordAfterDelete(cursor);
    DeleteRecordBlobs(cursor);
    if (IndexManager) IndexManager->DeleteKeys(cursor);
    const int32_t change_count = GetChangeCount();
    if (!RecordManager->DeleteRecord(SessionOf(&cursor), cursor.CurrentRecordID)) return false;
    AfterRecordWrite(cursor);
    CommitRecordWrite(cursor);
    UpdateBitmapAfterWrite(cursor, change_count, true);
    cursor.Eof = false;
    cursor.Bof = !landing.has_value();
    if (landing) cursor.CurrentRecordID = *landing;
    return true;
  });
}

std::optional<TVTRRecordID> TVTRTableData::FindRecordAfterDelete(TVTRCursor& cursor) {
  const TVTRCursorPosition position = cursor.SavePosition();
  uint8_t* const record = cursor.CurrentRecord;
  uint8_t* scratch = cursor.AllocRecordBuffer();
  const auto give_back = [&] {
    cursor.CurrentRecord = record;
    cursor.RestorePosition(position);
    cursor.FreeRecordBuffer(scratch);
  };
  std::optional<TVTRRecordID> landing;
  try {
    cursor.CurrentRecord = scratch;
    if (GetRecord(cursor, fmNext) == grOK) {
      landing = cursor.CurrentRecordID;
    } else {
      cursor.RestorePosition(position);
      if (GetRecord(cursor, fmPrior) == grOK) landing = cursor.CurrentRecordID;
    }
  } catch (...) {
    give_back();
    throw;
  }
  give_back();
  return landing;
}
