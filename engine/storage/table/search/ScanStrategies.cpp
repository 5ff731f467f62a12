// Running a search plan: a walk in the cursor's order, or a range scan of
// one index in one of three ways, as that index relates to the cursor's
// order. Every strategy tests records in one work record, to which the
// expressions are bound.
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRMemory.h"
#include "engine/storage/table/TableData.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/index/IndexPositionCache.h"
#include "engine/storage/table/search/RecordSearch.h"

namespace {

[[noreturn]] void RaisePositionNotFound(int32_t native_error, int32_t index_id, const TVTRRecordID& id) {
  throw EVTRException::CreateFmt(native_error, "Cannot find record position in index %d, RecordID = %d %d",
                                 index_id, id.PageNo, id.SlotNo);
}

// Whether `candidate` lies beyond `from` in the direction of the search.
bool Beyond(int order, bool forward) {
  return forward ? order > 0 : order < 0;
}

}  // namespace

bool TVTRTableData::ExecutePlan(TVTRRecordSearch& search) {
  const TVTRScanSearchConditionArray& conditions = *search.Conditions;
  search.WorkRecord.reset(static_cast<uint8_t*>(EngineMemoryManager().GetMem(RecordManager->RecordSize)));
  for (int32_t i = 0; i < conditions.GetCount(); ++i)
    if (TVTRExpression* expression = conditions.GetItem(i).Expression)
      expression->AssignRecordBuffer(search.WorkRecord.get(), 0);

  TVTRSearchTrace& trace = search.Trace;
  if (search.Start == -1) {
    trace.Strategy = TVTRSearchStrategy::kScanTable;
    return ScanTable(search);
  }
  if (search.Start >= conditions.GetCount())
    throw EVTRException::CreateFmt(10382, "Invalid condition number = %d, count = %d", search.Start,
                                   conditions.GetCount());
  if (!search.Cursor.HasIndex()) {
    trace.Strategy = TVTRSearchStrategy::kScanIndexForStorageOrder;
    return ScanIndexForStorageOrder(search);
  }
  if (search.Cursor.IndexID == conditions.GetItem(search.Start).IndexID) {
    trace.Strategy = TVTRSearchStrategy::kScanCursorIndex;
    return ScanCursorIndex(search);
  }
  trace.Strategy = TVTRSearchStrategy::kScanIndexForOtherIndex;
  return ScanIndexForOtherIndex(search);
}

bool TVTRTableData::ReadSearchRecord(TVTRRecordSearch& search, const TVTRRecordID& id) {
  NavigationRequest request;
  request.RecordID = id;
  request.Buffer = search.WorkRecord.get();
  RecordManager->GetRecord(search.SessionID, request);
  if (request.Result != grOK) return false;
  ++search.Trace.RecordsRead;
  return true;
}

bool TVTRTableData::NeedsRecordCheck(const TVTRRecordSearch& search, int32_t start, int32_t end) {
  if (search.Cursor.OnFilterRecord) return true;
  const TVTRScanSearchConditionArray& conditions = *search.Conditions;
  for (int32_t i = 0; i < conditions.GetCount(); ++i) {
    if (i == start || i == end) continue;
    const TVTRScanSearchCondition& condition = conditions.GetItem(i);
    if (condition.FromExpression) continue;
    if (condition.Expression != nullptr && condition.Expression->IsEmpty()) continue;
    return true;
  }
  return false;
}

bool TVTRTableData::CheckConditions(TVTRRecordSearch& search, const uint8_t* record, int32_t start,
                                    int32_t end) {
  const TVTRScanSearchConditionArray& conditions = *search.Conditions;
  for (int32_t i = 0; i < conditions.GetCount(); ++i) {
    if (i == start || i == end) continue;
    const TVTRScanSearchCondition& condition = conditions.GetItem(i);
    if (TVTRExpression* expression = condition.Expression) {
      if (expression->IsEmpty()) continue;
      expression->AssignRecordBuffer(record, 0);
      if (!expression->GetBooleanValue()) return false;
    } else if (!KeyMatchesCondition(record, condition)) {
      return false;
    }
  }
  return !search.Cursor.OnFilterRecord || search.Cursor.OnFilterRecord(record);
}

bool TVTRTableData::KeyMatchesCondition(const uint8_t* record, const TVTRScanSearchCondition& condition) {
  const int c = IndexManager->GetIndexByID(condition.IndexID)
                    .CompareRecordKeys(record, condition.KeyBuffer(), condition.KeyFieldCount);
  switch (condition.Comparison) {
    case scEqual:
      return c == 0;
    case scBefore:
      return c < 0;
    case scAfter:
      return c > 0;
    case scNotAfter:
      return c <= 0;
    case scNotBefore:
      return c >= 0;
    default:
      return false;
  }
}

bool TVTRTableData::ScanTable(TVTRRecordSearch& search) {
  TVTRCursor& cursor = search.Cursor;
  NavigationRequest request;
  request.Direction = search.Forward ? fmNext : fmPrior;
  request.IndexID = cursor.IndexID;
  request.RecordID = cursor.CurrentRecordID;
  request.Buffer = search.WorkRecord.get();
  request.Bof = search.Forward && search.FromStart;
  request.Eof = !search.Forward && search.FromStart;
  TVTRIndexPositionCache cache;
  while (true) {
    ReadRecord(search.SessionID, request, GetChangeCount(), &cache);
    if (request.Result != grOK) return false;
    ++search.Trace.RecordsRead;
    if (!CheckConditions(search, search.WorkRecord.get(), -1, -1)) continue;
    if (search.Bitmap != nullptr) {
      if (search.Bitmap->IndexOrdered)
        search.Bitmap->AddPath(cursor.IndexID, cache.KeyPath);
      else
        search.Bitmap->AddRecord(request.RecordID);
    }
    if (!search.Collect) {
      search.Found = request.RecordID;
      return true;
    }
  }
}

bool TVTRTableData::ScanCursorIndex(TVTRRecordSearch& search) {
  const TVTRScanSearchConditionArray& conditions = *search.Conditions;
  const TVTRScanSearchCondition& start = conditions.GetItem(search.Start);
  const TVTRScanSearchCondition* end = search.End != -1 ? &conditions.GetItem(search.End) : nullptr;
  TVTRIndex& index = IndexManager->GetIndexByID(start.IndexID);
  TVTRRecordID id = search.Cursor.CurrentRecordID;
  if (!search.FromStart && !ReadSearchRecord(search, id)) return false;
  const bool check = NeedsRecordCheck(search, search.Start, search.End);
  const std::unique_ptr<TVTRIndexScanState> state = index.CreateScanState();
  for (bool restart = search.FromStart; index.ScanNext(search.SessionID, restart, state.get(), id,
                                                       search.WorkRecord.get(), end, &start, search.Forward);
       restart = false) {
    ++search.Trace.KeysScanned;
    if (check && !(ReadSearchRecord(search, id) &&
                   CheckConditions(search, search.WorkRecord.get(), search.Start, search.End)))
      continue;
    if (search.Bitmap != nullptr) search.Bitmap->AddPath(start.IndexID, state->Path);
    if (!search.Collect) {
      search.Found = id;
      return true;
    }
  }
  return false;
}

bool TVTRTableData::ScanIndexForStorageOrder(TVTRRecordSearch& search) {
  const TVTRScanSearchConditionArray& conditions = *search.Conditions;
  const TVTRScanSearchCondition& start = conditions.GetItem(search.Start);
  const TVTRScanSearchCondition* end = search.End != -1 ? &conditions.GetItem(search.End) : nullptr;
  TVTRIndex& index = IndexManager->GetIndexByID(start.IndexID);
  const TVTRRecordID current = search.Cursor.CurrentRecordID;
  // Equal keys of a one-column index lie in storage order, so the first
  // record found beyond the current one is the answer.
  const bool unique_hit = start.Comparison == scEqual && index.Def.GetColumnCount() == 1;
  // Continuing from the current record needs it among the equal keys;
  // otherwise the range is scanned from its start.
  const bool restart = !(unique_hit && !search.FromStart && ReadSearchRecord(search, current) &&
                         KeyMatchesCondition(search.WorkRecord.get(), start));
  if (search.Bitmap != nullptr && search.FromStart) ResetRecordBitmap(*search.Bitmap, -1);
  const bool check = NeedsRecordCheck(search, search.Start, search.End);
  const std::unique_ptr<TVTRIndexScanState> state = index.CreateScanState();
  TVTRRecordID id = current;
  bool have = false;
  for (bool first_step = restart; index.ScanNext(search.SessionID, first_step, state.get(), id,
                                                 search.WorkRecord.get(), end, &start, search.Forward);
       first_step = false) {
    ++search.Trace.KeysScanned;
    if (check && !(ReadSearchRecord(search, id) &&
                   CheckConditions(search, search.WorkRecord.get(), search.Start, search.End)))
      continue;
    if (search.Bitmap != nullptr) search.Bitmap->AddRecord(id);
    if (search.Collect) continue;
    if (!search.FromStart && !Beyond(RecordManager->CompareRecordIDs(id, current), search.Forward)) continue;
    if (!have || Beyond(RecordManager->CompareRecordIDs(search.Found, id), search.Forward)) {
      search.Found = id;
      have = true;
    }
    if (unique_hit) break;
  }
  if (search.Bitmap != nullptr && !search.Collect && search.FromStart && !unique_hit)
    search.Bitmap->Complete = true;
  return have;
}

bool TVTRTableData::ScanIndexForOtherIndex(TVTRRecordSearch& search) {
  const TVTRScanSearchConditionArray& conditions = *search.Conditions;
  const TVTRScanSearchCondition& start = conditions.GetItem(search.Start);
  const TVTRScanSearchCondition* end = search.End != -1 ? &conditions.GetItem(search.End) : nullptr;
  TVTRIndex& index = IndexManager->GetIndexByID(start.IndexID);
  const int32_t order_id = search.Cursor.IndexID;
  TVTRIndex& order = IndexManager->GetIndexByID(order_id);
  const TVTRRecordID current = search.Cursor.CurrentRecordID;
  TVTRKeyPath current_path;
  if (!search.FromStart) {
    NavigationRequest request;
    request.RecordID = current;
    request.Buffer = search.WorkRecord.get();
    RecordManager->GetRecord(search.SessionID, request);
    if (request.Result != grOK) RaisePositionNotFound(10387, order_id, current);
    if (request.RecordID != current) RaisePositionNotFound(10415, order_id, current);
    ++search.Trace.RecordsRead;
    if (!order.FindRecordKey(search.SessionID, current, current_path, search.WorkRecord.get()))
      RaisePositionNotFound(10386, order_id, current);
    TVTRRecordID at_path;
    order.GetRecordIDAtPath(search.SessionID, current_path, at_path);
    if (at_path != current) RaisePositionNotFound(10414, order_id, current);
  }
  if (search.Bitmap != nullptr && search.FromStart) ResetRecordBitmap(*search.Bitmap, order_id);
  const std::unique_ptr<TVTRIndexScanState> state = index.CreateScanState();
  TVTRRecordID id = current;
  TVTRKeyPath path;
  TVTRKeyPath found_path;
  bool have = false;
  for (bool first_step = true; index.ScanNext(search.SessionID, first_step, state.get(), id,
                                              search.WorkRecord.get(), end, &start, search.Forward);
       first_step = false) {
    ++search.Trace.KeysScanned;
    if (!ReadSearchRecord(search, id) ||
        !CheckConditions(search, search.WorkRecord.get(), search.Start, search.End))
      continue;
    if (!order.FindRecordKey(search.SessionID, id, path, search.WorkRecord.get()))
      RaisePositionNotFound(10432, order_id, id);
    if (search.Bitmap != nullptr) search.Bitmap->AddPath(order_id, path);
    if (search.Collect) continue;
    if (!search.FromStart && !Beyond(order.ComparePaths(&path, &current_path), search.Forward)) continue;
    if (!have || Beyond(order.ComparePaths(&found_path, &path), search.Forward)) {
      search.Found = id;
      found_path = path;
      have = true;
    }
  }
  if (search.Bitmap != nullptr && !search.Collect && search.FromStart) search.Bitmap->Complete = true;
  return have;
}
