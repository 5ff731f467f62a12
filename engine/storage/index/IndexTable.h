#pragma once
// TVTRIndexTable: the table as its index and constraint managers see it.
// The table data implements it over its field and record managers and its
// database; tests implement it over a small table of their own.
#include <cstdint>
#include <functional>

#include "engine/storage/pager/PageManager.h"
#include "engine/storage/base/Cursor.h"
#include "engine/storage/base/NavigationRequest.h"
#include "engine/storage/btree/RecordKeyRef.h"
#include "engine/storage/meta/FieldDef.h"

class TVTRIndexTable : public TVTRKeyRecordSource {
 public:
  // The field definitions that lay out the table's record buffers; nullptr
  // while the table has no field manager.
  virtual const TVTRFieldDefs* GetFieldDefs() = 0;
  // The page manager of the table's stored indexes.
  virtual TVTRPageManager& GetPageManager() = 0;
  // Records stored, and the record store's change counter (raised by every
  // insert, update and delete).
  virtual int64_t GetRecordCount() = 0;
  virtual int32_t GetChangeCount() = 0;
  // The next database-wide object number.
  virtual int32_t GetNextObjectID() = 0;
  // Reads through the record manager: the record at RecordID, or the next or
  // prior one in storage order.
  virtual void GetRecord(int32_t session_id, NavigationRequest& request) = 0;
  // Reads every stored record in storage order through a cursor of its own
  // on the table, with the session and table name of `cursor`; `visit` sees
  // that cursor on each record (CurrentRecord and CurrentRecordID set).
  virtual void ScanRecords(TVTRCursor& cursor, const std::function<void(TVTRCursor&)>& visit) = 0;

  // Prefix ties of the table's keys are settled by reading records through GetRecord.
  int32_t RecordBufferSize() final;
  bool ReadRecord(int32_t session_id, const TVTRRecordID& id, uint8_t* record) final;
};

// The session a cursor works for; the system session without one.
int32_t SessionOf(const TVTRCursor* cursor);
