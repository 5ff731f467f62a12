#pragma once
// TVTRMemoryDatabaseData: the process's "MEMORY" database, whose tables live
// in memory only (TVTRMemoryTableData). Every session gets session ID 0.
#include "engine/storage/memory/ProcessDatabaseData.h"

class TVTRMemoryDatabaseData : public TVTRProcessDatabaseData {
 public:
  static constexpr const char* kName = "MEMORY";

  TVTRMemoryDatabaseData() : TVTRProcessDatabaseData(kName) {}

  // A new memory table named after the cursor's TableName.
  TVTRTableData* CreateTableData(TVTRCursor& cursor) override;
};
