#include "engine/storage/memory/MemoryDatabaseData.h"

#include "engine/storage/memory/MemoryTableData.h"

TVTRTableData* TVTRMemoryDatabaseData::CreateTableData(TVTRCursor& cursor) {
  auto table = std::make_unique<TVTRMemoryTableData>(*this);
  table->TableName = cursor.TableName;
  return AddTableData(std::move(table));
}
