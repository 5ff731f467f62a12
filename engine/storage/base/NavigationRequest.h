#pragma once
// NavigationRequest: what the table data hands to its record manager and to
// its index manager to read one record, and what they hand back.
#include <cstdint>

#include "engine/storage/base/Cursor.h"
#include "engine/storage/base/RecordID.h"

struct NavigationRequest {
  TVTRFetchMode Direction = fmCurrent;  // current: the record at RecordID
  int32_t IndexID = -1;                 // the index whose order is followed; -1 = storage order
  TVTRRecordID RecordID;                // in: the position to move from; out: the record found
  uint8_t* Buffer = nullptr;            // receives the record
  bool Bof = false;                     // in: before the first record; cleared when one is found
  bool Eof = false;                     // in: after the last record; cleared when one is found
  TVTRGetRecordResult Result = grError;
};
