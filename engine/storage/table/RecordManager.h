#pragma once
// TVTRBaseRecordManager: the record store of a table, one per engine (disk
// pages, the temporary engine's spill files, the memory engine's slots).
// Callers hold the database's critical section.
#include <cstdint>

#include "engine/storage/base/NavigationRequest.h"
#include "engine/storage/base/RecordID.h"

class TVTRBaseRecordManager {
 public:
  TVTRBaseRecordManager() = default;
  virtual ~TVTRBaseRecordManager() = default;
  TVTRBaseRecordManager(const TVTRBaseRecordManager&) = delete;
  TVTRBaseRecordManager& operator=(const TVTRBaseRecordManager&) = delete;

  // Deletes every record; RecordCount and ChangeCount become 0.
  virtual void EmptyTable(int32_t session_id) = 0;
  // `record` is a record buffer of RecordSize bytes. Each returns false when
  // the store refuses the change, and then changes no counter.
  virtual bool InsertRecord(int32_t session_id, const uint8_t* record, TVTRRecordID& id) = 0;
  virtual bool UpdateRecord(int32_t session_id, const uint8_t* record, const TVTRRecordID& id) = 0;
  virtual bool DeleteRecord(int32_t session_id, const TVTRRecordID& id) = 0;
  // Reads the record at, after or before the request's position in storage
  // order. A store without records answers grEOF before it looks at the request.
  virtual void GetRecord(int32_t session_id, NavigationRequest& request) = 0;
  // -1, 0 or 1 as `a` comes before, at or after `b` in storage order.
  virtual int CompareRecordIDs(const TVTRRecordID& a, const TVTRRecordID& b) = 0;
  // A record number good enough for cost estimates; -1 where the store can
  // tell that the record is not in the table.
  virtual int64_t EstimateRecordNo(int32_t session_id, const TVTRRecordID& id) = 0;

  int64_t RecordCount = 0;  // records stored
  // Raised by every successful insert, update and delete; record bitmaps and
  // index position caches are stamped with it.
  int32_t ChangeCount = 0;
  int32_t RecordSize = 0;  // bytes of one record buffer
};
