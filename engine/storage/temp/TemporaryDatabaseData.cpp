#include "engine/storage/temp/TemporaryDatabaseData.h"

#include "engine/storage/temp/TemporaryTableData.h"

TVTRTableData* TVTRTemporaryDatabaseData::CreateTableData(TVTRCursor& cursor) {
  auto table = std::make_unique<TVTRTemporaryTableData>(*this);
  table->TableName = cursor.TableName;
  return AddTableData(std::move(table));
}
