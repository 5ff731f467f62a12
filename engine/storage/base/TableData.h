#pragma once
// TVTRTableData: the one object of a process that stands for an open table
// inside a database object; every cursor on the table works through it. This
// declares what the database object and record bitmaps rely on; the record
// operations, the managers and the engines that derive from it build on this.
#include <cstdint>
#include <string>

#include "engine/storage/base/RecordID.h"

class TVTRDatabaseData;
class TVTRKeyPath;

class TVTRTableData {
 public:
  explicit TVTRTableData(TVTRDatabaseData& database) : Database(database) {}
  // The database object frees its table objects (TVTRDatabaseData::FreeTableData).
  virtual ~TVTRTableData() = default;
  TVTRTableData(const TVTRTableData&) = delete;
  TVTRTableData& operator=(const TVTRTableData&) = delete;

  // Enter and leave the owning database's critical section.
  void Lock();
  void Unlock();

  // Record-bitmap positions of the records in storage order.
  virtual int64_t GetPositionCount() = 0;
  virtual int64_t RecordIDToPosition(const TVTRRecordID& id) = 0;
  virtual TVTRRecordID PositionToRecordID(int64_t position) = 0;
  // Positions of the key paths of index `index_id` (by the index's fan-out).
  virtual int64_t PathToPosition(int32_t index_id, const TVTRKeyPath& path) = 0;
  virtual void PositionToPath(int32_t index_id, int64_t position, TVTRKeyPath& path) = 0;
  // The record store's change counter, raised by every insert, update and
  // delete; record bitmaps are stamped with it.
  virtual int32_t GetChangeCount() = 0;
  // Called for every table of the database after a session rolled back.
  virtual void AfterRollback(int32_t session_id) {}

  TVTRDatabaseData& Database;
  std::string TableName;
};
