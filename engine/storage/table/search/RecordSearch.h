#pragma once
// The state of one TVTRTableData::FindRecord: what is asked, the
// conditions, the chosen plan and the answer.
#include <cstdint>
#include <memory>

#include "engine/foundation/ValueBuffer.h"
#include "engine/storage/base/Cursor.h"
#include "engine/storage/base/RecordBitmap.h"
#include "engine/storage/base/RecordID.h"
#include "engine/storage/base/ScanSearchCondition.h"
#include "engine/storage/table/SearchTrace.h"

struct TVTRRecordSearch {
  TVTRRecordSearch(TVTRCursor& cursor, int32_t session_id, bool collect, TVTRRecordBitmap* bitmap,
                   bool forward, bool from_start, TVTRSearchTrace& trace)
      : Cursor(cursor),
        SessionID(session_id),
        Collect(collect),
        Bitmap(bitmap),
        Forward(forward),
        FromStart(from_start),
        Trace(trace) {}

  TVTRCursor& Cursor;
  const int32_t SessionID;
  const bool Collect;              // mark every passing record in Bitmap
  TVTRRecordBitmap* const Bitmap;  // the cursor's bitmap, or nullptr
  const bool Forward;
  const bool FromStart;  // from an end of the cursor's order, not from its record
  TVTRSearchTrace& Trace;
  std::unique_ptr<TVTRScanSearchConditionArray> Conditions = std::make_unique<TVTRScanSearchConditionArray>();
  int32_t Start = -1;  // the plan: conditions bounding an index range, -1 when absent
  int32_t End = -1;
  TVTRRecordID Found;
  VTRBufferPtr WorkRecord;  // the record under test; every expression condition reads it
};

// A comparison of index keys, as opposed to an expression.
inline bool IsIndexCondition(const TVTRScanSearchCondition& condition) {
  return condition.Expression == nullptr && condition.IndexID != -1;
}
