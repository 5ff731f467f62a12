#include "engine/storage/index/IndexTable.h"

int32_t TVTRIndexTable::RecordBufferSize() {
  const TVTRFieldDefs* field_defs = GetFieldDefs();
  return field_defs == nullptr ? 0 : field_defs->GetRecordBufferSize();
}

bool TVTRIndexTable::ReadRecord(int32_t session_id, const TVTRRecordID& id, uint8_t* record) {
  NavigationRequest request;
  request.Direction = fmCurrent;
  request.RecordID = id;
  request.Buffer = record;
  GetRecord(session_id, request);
  return request.Result == grOK;
}

int32_t SessionOf(const TVTRCursor* cursor) {
  return cursor != nullptr && cursor->Session != nullptr ? cursor->Session->SessionID : kSystemSessionID;
}
