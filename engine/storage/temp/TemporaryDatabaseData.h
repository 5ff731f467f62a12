#pragma once
// TVTRTemporaryDatabaseData: the process's "TEMP" database, whose tables
// (TVTRTemporaryTableData) hold the SQL engine's results and the tables that
// table components mark temporary.
#include "engine/storage/memory/ProcessDatabaseData.h"

class TVTRTemporaryDatabaseData : public TVTRProcessDatabaseData {
 public:
  static constexpr const char* kName = "TEMP";

  TVTRTemporaryDatabaseData() : TVTRProcessDatabaseData(kName) {}

  // A new temporary table named after the cursor's TableName.
  TVTRTableData* CreateTableData(TVTRCursor& cursor) override;
};
