// Counting and numbering the records a cursor sees, and the upkeep of its
// record bitmap, which holds them when the cursor has a range, a filter or a
// distinct rule.
#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/table/TableData.h"
#include "engine/storage/index/IndexManager.h"

int64_t TVTRTableData::GetRecordCount(TVTRCursor& cursor) {
  TVTRDatabaseDataGuard lock(Database);
  if (!cursor.UsesRecordBitmap() || !cursor.RecordBitmap) return GetTableRecordCount(cursor);
  RefreshRecordBitmap(cursor);
  return cursor.RecordBitmap->GetRecordCount();
}

bool TVTRTableData::ResetRecordBitmap(TVTRRecordBitmap& bitmap, int32_t index_id) {
  bitmap.Reset();
  bitmap.Stamp = GetChangeCount();
  bitmap.IndexOrdered = index_id != -1;
  return bitmap.IndexOrdered;
}

void TVTRTableData::RefreshRecordBitmap(TVTRCursor& cursor) {
  TVTRRecordBitmap* bitmap = cursor.RecordBitmap.get();
  if (bitmap == nullptr) return;
  if (bitmap->Complete ? bitmap->IsStale() : cursor.UsesRecordBitmap()) RebuildRecordBitmap(cursor);
}

void TVTRTableData::RebuildRecordBitmap(TVTRCursor& cursor) {
  TVTRRecordBitmap& bitmap = *cursor.RecordBitmap;
  ResetRecordBitmap(bitmap, cursor.IndexID);
  if (GetRecordCount() == 0) {
    bitmap.Complete = true;  // the whole of an empty view
    return;
  }
  const TVTRCursorPosition position = cursor.SavePosition();
  uint8_t* const record = cursor.CurrentRecord;
  uint8_t* scratch = cursor.AllocRecordBuffer();
  const auto give_back = [&] {
    cursor.CurrentRecord = record;
    cursor.RestorePosition(position);
    cursor.FreeRecordBuffer(scratch);
  };
  try {
    cursor.CurrentRecord = scratch;
    cursor.Bof = true;
    cursor.Eof = false;
    FindRecord(cursor, nullptr, true, &bitmap, nullptr, true, true, nullptr);
  } catch (...) {
    give_back();
    throw;
  }
  give_back();
}

bool TVTRTableData::FindInRecordBitmap(int32_t session_id, bool from_start, int32_t index_id,
                                       TVTRRecordBitmap& bitmap, TVTRRecordID& found,
                                       const TVTRRecordID& current, bool forward) {
  if (!bitmap.IndexOrdered) return bitmap.FindRecord(from_start, forward, found, current);
  TVTRKeyPath from;
  if (!from_start) FindRecordPath(session_id, index_id, from, current);
  TVTRKeyPath path;
  if (!bitmap.FindPath(from_start, forward, index_id, path, from)) return false;
  GetRecordIDAtPath(session_id, index_id, found, path);
  return true;
}

void TVTRTableData::FindRecordPath(int32_t session_id, int32_t index_id, TVTRKeyPath& path,
                                   const TVTRRecordID& id) {
  path_record_.resize(static_cast<size_t>(RecordManager->RecordSize));
  NavigationRequest request;
  request.RecordID = id;
  request.Buffer = path_record_.data();
  RecordManager->GetRecord(session_id, request);
  if (request.Result != grOK) throw EVTRException(20252, "Record not found");
  if (!IndexManager->GetIndexByID(index_id).FindRecordKey(session_id, id, path, path_record_.data()))
    throw EVTRException(20253, "Cannot retreive record for index");
}

void TVTRTableData::GetRecordIDAtPath(int32_t session_id, int32_t index_id, TVTRRecordID& id,
                                      const TVTRKeyPath& path) {
  IndexManager->GetIndexByID(index_id).GetRecordIDAtPath(session_id, path, id);
}

int64_t TVTRTableData::PathToPosition(int32_t index_id, const TVTRKeyPath& path) {
  return path.ToPositionNumber(IndexManager->GetIndexByID(index_id).GetFanOut());
}

void TVTRTableData::PositionToPath(int32_t index_id, int64_t position, TVTRKeyPath& path) {
  path.FromPositionNumber(position, IndexManager->GetIndexByID(index_id).GetFanOut());
}

void TVTRTableData::SetRecNo(TVTRCursor& cursor, int64_t rec_no) {
  TVTRDatabaseDataGuard lock(Database);
  const int64_t count = GetRecordCount(cursor);
  if (count == 0) return;
  rec_no = std::clamp<int64_t>(rec_no, 1, count);
  cursor.Bof = false;
  cursor.Eof = false;
  const int32_t session_id = SessionOf(&cursor);
  const bool by_bitmap = cursor.UsesRecordBitmap() && cursor.RecordBitmap;
  if (cursor.HasIndex()) {
    if (by_bitmap) {
      TVTRKeyPath path;
      cursor.RecordBitmap->GetPathByRecNo(cursor.IndexID, path, rec_no);
      GetRecordIDAtPath(session_id, cursor.IndexID, cursor.CurrentRecordID, path);
    } else {
      CursorIndex(cursor).SetRecNo(session_id, cursor.CurrentRecordID, rec_no);
    }
  } else if (by_bitmap) {
    cursor.CurrentRecordID = cursor.RecordBitmap->GetRecordIDByRecNo(rec_no);
  } else {
    SetNaturalRecNo(cursor, rec_no);
  }
}

int64_t TVTRTableData::GetRecNo(TVTRCursor& cursor) {
  TVTRDatabaseDataGuard lock(Database);
  if (cursor.Bof || cursor.Eof || GetRecordCount(cursor) == 0) return -1;
  RefreshRecordBitmap(cursor);
  const bool by_bitmap = cursor.UsesRecordBitmap() && cursor.RecordBitmap;
  if (!cursor.HasIndex()) {
    return by_bitmap ? cursor.RecordBitmap->GetRecNo(cursor.CurrentRecordID) : GetNaturalRecNo(cursor);
  }
  const int32_t session_id = SessionOf(&cursor);
  std::vector<uint8_t> record(static_cast<size_t>(RecordManager->RecordSize));
  NavigationRequest request;
  request.RecordID = cursor.CurrentRecordID;
  request.Buffer = record.data();
  RecordManager->GetRecord(session_id, request);
  if (request.Result != grOK) return -1;
  TVTRIndex& index = CursorIndex(cursor);
  if (!by_bitmap) return index.GetRecNo(session_id, cursor.CurrentRecordID, record.data());
  TVTRKeyPath path;
  if (!index.FindRecordKey(session_id, cursor.CurrentRecordID, path, record.data()))
    throw EVTRException(20253, "Cannot retreive record for index");
  return cursor.RecordBitmap->GetRecNoOfPath(cursor.IndexID, path);
}
