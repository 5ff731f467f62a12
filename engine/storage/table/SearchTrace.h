#pragma once
// What the last record search of a table did: which plan it chose, which
// strategy ran it, and how much it read. Filled only while a table's
// SearchTrace points at one; tests and benchmarks read it.
#include <cstdint>

#include "engine/storage/base/ScanSearchCondition.h"

enum class TVTRSearchStrategy : uint8_t {
  kNone,                      // the table holds no record
  kNothingMatches,            // the conditions contradict each other
  kRecordBitmap,              // the cursor's complete record bitmap answered
  kScanTable,                 // a walk in the cursor's order
  kScanCursorIndex,           // a range of the cursor's own index
  kScanIndexForStorageOrder,  // a range of an index, for a cursor in storage order
  kScanIndexForOtherIndex,    // a range of an index, for a cursor on another index
};

struct TVTRSearchTrace {
  TVTRSearchStrategy Strategy = TVTRSearchStrategy::kNone;
  bool QuickPlan = false;  // chosen without cost estimates
  // The range the plan scans: the index, and the comparisons of its start
  // and end conditions (scNone when there is no such condition).
  int32_t IndexID = -1;
  TVTRScanComparison StartComparison = scNone;
  TVTRScanComparison EndComparison = scNone;
  int32_t StartKeyFieldCount = 0;
  int32_t ConditionCount = 0;  // conditions left once simplified
  int64_t RecordsRead = 0;     // records the search fetched from the record store
  int64_t KeysScanned = 0;     // index entries the range scan stepped on
};
