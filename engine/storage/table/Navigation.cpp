// Moving a cursor through its table: fetching in index or storage order,
// the range and filter tests, Locate and GotoKey.
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/table/TableData.h"
#include "engine/storage/index/IndexManager.h"

void TVTRTableData::ReadRecord(int32_t session_id, NavigationRequest& request, int32_t change_count,
                               TVTRIndexPositionCache* cache) {
  if (!RecordManager) throw EVTRException(10015, "Nil pointer occured");
  if (!IndexManager) throw EVTRException(10380, "Nil pointer occured");
  if (request.Buffer == nullptr) throw EVTRException(10016, "Nil pointer occured");
  // The index order may hand the request back untouched.
  request.Result = grError;
  if (request.IndexID != -1 && request.Direction != fmCurrent)
    IndexManager->GetRecord(session_id, request, change_count, cache);
  else
    RecordManager->GetRecord(session_id, request);
}

TVTRGetRecordResult TVTRTableData::GetRecord(TVTRCursor& cursor, TVTRFetchMode direction) {
  TVTRDatabaseDataGuard lock(Database);
  if (!RecordManager) throw EVTRException(10015, "Nil pointer occured");
  if (RecordManager->RecordCount == 0) return grEOF;
  if (!cursor.HasTemporaryIndex() || direction == fmCurrent || cursor.Bof || cursor.Eof)
    return NavigateRecord(cursor, direction, false);
  // A distinct view moves past every record whose key equals the one it
  // starts from; the search reads that key from WorkRecord.
  cursor.WorkRecord = cursor.AllocRecordBuffer();
  try {
    NavigationRequest current;
    current.RecordID = cursor.CurrentRecordID;
    current.Buffer = cursor.WorkRecord;
    RecordManager->GetRecord(SessionOf(&cursor), current);
    const TVTRGetRecordResult result =
        current.Result == grOK ? NavigateRecord(cursor, direction, false) : grError;
    cursor.FreeRecordBuffer(cursor.WorkRecord);
    return result;
  } catch (...) {
    cursor.FreeRecordBuffer(cursor.WorkRecord);
    throw;
  }
}

TVTRGetRecordResult TVTRTableData::NavigateRecord(TVTRCursor& cursor, TVTRFetchMode direction, bool collect) {
  const int32_t session_id = SessionOf(&cursor);
  if (direction != fmCurrent && cursor.UsesRecordBitmap()) {
    // Past an end there is nothing further, as in the plain orders.
    if (direction == fmNext && cursor.Eof) return grEOF;
    if (direction == fmPrior && cursor.Bof) return grBOF;
    TVTRRecordID found;
    if (!FindRecord(cursor, nullptr, collect, cursor.RecordBitmap.get(), &found, direction == fmNext,
                    cursor.Bof || cursor.Eof, nullptr))
      return direction == fmNext ? grEOF : grBOF;
    NavigationRequest request;
    request.RecordID = found;
    request.Buffer = cursor.CurrentRecord;
    ReadRecord(session_id, request, GetChangeCount(), nullptr);
    cursor.CurrentRecordID = found;
    cursor.Bof = false;
    cursor.Eof = false;
    return request.Result;
  }
  NavigationRequest request;
  request.Direction = direction;
  request.IndexID = cursor.IndexID;
  request.RecordID = cursor.CurrentRecordID;
  request.Buffer = cursor.CurrentRecord;
  request.Bof = cursor.Bof;
  request.Eof = cursor.Eof;
  ReadRecord(session_id, request, GetChangeCount(), cursor.PositionCache);
  if (request.Result == grOK && cursor.UsesRecordBitmap() && !IsRecordVisible(cursor)) return grError;
  cursor.CurrentRecordID = request.RecordID;
  cursor.Bof = request.Bof;
  cursor.Eof = request.Eof;
  return request.Result;
}

bool TVTRTableData::IsInRange(TVTRCursor& cursor) {
  if (!cursor.HasRange()) return true;
  TVTRIndex& index = CursorIndex(cursor);
  if (cursor.RangeLowKey != nullptr) {
    const int c =
        index.CompareRecordKeys(cursor.CurrentRecord, cursor.RangeLowKey, cursor.RangeLowFieldCount);
    if (c < 0 || (c == 0 && cursor.RangeLowExclusive)) return false;
  }
  if (cursor.RangeHighKey != nullptr) {
    const int c =
        index.CompareRecordKeys(cursor.CurrentRecord, cursor.RangeHighKey, cursor.RangeHighFieldCount);
    if (c > 0 || (c == 0 && cursor.RangeHighExclusive)) return false;
  }
  return true;
}

bool TVTRTableData::IsRecordVisible(TVTRCursor& cursor) {
  if (!IsInRange(cursor)) return false;
  for (TVTRExpression* expression : {cursor.FilterExpression.get(), cursor.SearchExpression}) {
    if (expression == nullptr) continue;
    expression->AssignRecordBuffer(cursor.CurrentRecord, 0);
    if (!expression->GetBooleanValue()) return false;
  }
  return !cursor.OnFilterRecord || cursor.OnFilterRecord(cursor.CurrentRecord);
}

bool TVTRTableData::Locate(TVTRCursor& cursor, TVTRExpression* expression) {
  TVTRDatabaseDataGuard lock(Database);
  if (expression == nullptr) throw EVTRException(10272, "Nil pointer occured");
  TVTRRecordID found;
  if (!FindRecord(cursor, expression, false, nullptr, &found, true, true, nullptr)) return false;
  cursor.Bof = false;
  cursor.Eof = false;
  cursor.CurrentRecordID = found;
  GetRecord(cursor, fmCurrent);
  return true;
}

bool TVTRTableData::GotoKey(TVTRCursor& cursor, TVTRScanComparison comparison) {
  TVTRDatabaseDataGuard lock(Database);
  TVTRScanSearchCondition key;
  // SearchKey is a key buffer: the record part and the dataset's key trailer.
  key.SetBorrowedKey(cursor.SearchKey, static_cast<uint32_t>(cursor.KeyBufferSize));
  key.Comparison = comparison;
  key.KeyFieldCount = cursor.SearchKeyFieldCount;
  key.IndexID = cursor.IndexID;
  TVTRRecordID found;
  if (!FindRecord(cursor, nullptr, false, nullptr, &found, true, true, &key)) return false;
  cursor.Bof = false;
  cursor.Eof = false;
  cursor.CurrentRecordID = found;
  return true;
}
