// The record search: the cursor's requirements become scan search
// conditions, which are simplified, planned and run (see the other files of
// this folder for each step).
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/table/TableData.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/table/search/RecordSearch.h"

bool TVTRTableData::FindRecord(TVTRCursor& cursor, TVTRExpression* expression, bool collect,
                               TVTRRecordBitmap* bitmap, TVTRRecordID* found, bool forward, bool from_start,
                               const TVTRScanSearchCondition* key_condition) {
  TVTRDatabaseDataGuard lock(Database);
  TVTRSearchTrace unused_trace;
  TVTRSearchTrace& trace = SearchTrace != nullptr ? *SearchTrace : unused_trace;
  trace = {};
  if (!RecordManager || RecordManager->RecordCount == 0) return false;
  if (!IndexManager) throw EVTRException(10380, "Nil pointer occured");
  const int32_t session_id = SessionOf(&cursor);
  // A bitmap emptied for another order must not take positions of this one.
  if (bitmap != nullptr && (collect || bitmap->IsStale() || bitmap->IndexOrdered != cursor.HasIndex()))
    ResetRecordBitmap(*bitmap, cursor.IndexID);
  if (bitmap != nullptr && bitmap->Complete) {
    trace.Strategy = TVTRSearchStrategy::kRecordBitmap;
    TVTRRecordID answer;
    if (!FindInRecordBitmap(session_id, from_start, cursor.IndexID, *bitmap, answer, cursor.CurrentRecordID,
                            forward))
      return false;
    if (found != nullptr) *found = answer;
    return true;
  }

  TVTRRecordSearch search(cursor, session_id, collect, bitmap, forward, from_start, trace);
  CollectConditions(search, expression, key_condition);
  search.Conditions->PrepareForIndexes(IndexManager->IndexDefs, session_id);
  if (!SimplifyConditions(search)) {
    trace.Strategy = TVTRSearchStrategy::kNothingMatches;
    if (collect && bitmap != nullptr) bitmap->Complete = true;  // the whole of an empty view
    return false;
  }
  trace.ConditionCount = search.Conditions->GetCount();
  ChoosePlan(search);
  search.Conditions->RemoveUnusedConditions(search.Start, search.End);
  if (search.Start != -1) {
    const TVTRScanSearchCondition& start = search.Conditions->GetItem(search.Start);
    trace.IndexID = start.IndexID;
    trace.StartComparison = start.Comparison;
    trace.StartKeyFieldCount = start.KeyFieldCount;
    if (search.End != -1) trace.EndComparison = search.Conditions->GetItem(search.End).Comparison;
  }

  // The expressions test only what the index range does not guarantee.
  search.Conditions->BindConditions(search.Start, search.End);
  bool hit;
  try {
    hit = ExecutePlan(search);
  } catch (...) {
    search.Conditions->ApplyConditions(search.Start, search.End);
    throw;
  }
  search.Conditions->ApplyConditions(search.Start, search.End);

  if (collect && bitmap != nullptr) bitmap->Complete = true;
  if (from_start && bitmap != nullptr && bitmap->Complete && cursor.HasTemporaryIndex())
    CursorIndex(cursor).RemoveDuplicateKeys(session_id, bitmap);
  if (hit && found != nullptr) *found = search.Found;
  return hit;
}

void TVTRTableData::CollectConditions(TVTRRecordSearch& search, TVTRExpression* expression,
                                      const TVTRScanSearchCondition* key_condition) {
  TVTRCursor& cursor = search.Cursor;
  TVTRScanSearchConditionArray& conditions = *search.Conditions;
  if (key_condition != nullptr) {
    if (key_condition->IndexID == -1)
      throw EVTRException(20258,
                          "No active index is set for Key search. Set Table.IndexName to the index on search "
                          "fields.");
    conditions.AddCondition(*key_condition);
  }
  for (TVTRExpression* each : {expression, cursor.FilterExpression.get(), cursor.SearchExpression})
    if (each != nullptr) conditions.AddExpression(each);

  const auto add_key = [&](uint8_t* key, uint32_t length, int32_t field_count,
                           TVTRScanComparison comparison) {
    TVTRScanSearchCondition condition;
    condition.SetBorrowedKey(key, length);
    condition.KeyFieldCount = field_count;
    condition.Comparison = comparison;
    condition.IndexID = cursor.IndexID;
    conditions.AddCondition(condition);
  };
  const auto key_buffer_size = static_cast<uint32_t>(cursor.KeyBufferSize);
  if (cursor.RangeLowKey != nullptr)
    add_key(cursor.RangeLowKey, key_buffer_size, cursor.RangeLowFieldCount,
            cursor.RangeLowExclusive ? scAfter : scNotBefore);
  if (cursor.RangeHighKey != nullptr)
    add_key(cursor.RangeHighKey, key_buffer_size, cursor.RangeHighFieldCount,
            cursor.RangeHighExclusive ? scBefore : scNotAfter);
  // A distinct view moving from a record skips the records of its key. A
  // search from an end starts from no record, so it skips nothing.
  if (cursor.HasTemporaryIndex() && !cursor.Bof && !cursor.Eof && !search.FromStart &&
      cursor.WorkRecord != nullptr)
    add_key(cursor.WorkRecord, static_cast<uint32_t>(cursor.RecordBufferSize),
            cursor.TemporaryIndexFieldCount, search.Forward ? scAfter : scBefore);
}
