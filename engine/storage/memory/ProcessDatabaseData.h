#pragma once
// TVTRProcessDatabaseData: the base of the process's own databases, "MEMORY"
// and "TEMP". They live for the process, have no file and no page manager
// of their own (each table keeps its pages), and number their objects with
// a counter of their own. A session's commit and rollback go to every table
// (TVTRProcessTableData).
#include <cstdint>
#include <string>

#include "engine/storage/database/DatabaseData.h"

class TVTRProcessDatabaseData : public TVTRDatabaseData {
 public:
  explicit TVTRProcessDatabaseData(std::string name);

  int32_t GetNextObjectID() override;
  void Commit(int32_t session_id, bool flush) override;

 private:
  int32_t next_object_id_ = 0;
};
