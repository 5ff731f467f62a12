#include "engine/storage/memory/ProcessDatabaseData.h"

#include "engine/foundation/Invariant.h"
#include "engine/storage/memory/ProcessTableData.h"

TVTRProcessDatabaseData::TVTRProcessDatabaseData(std::string name)
    : TVTRDatabaseData(std::move(name), true) {}

int32_t TVTRProcessDatabaseData::GetNextObjectID() {
  TVTRDatabaseDataGuard guard(*this);
  return ++next_object_id_;
}

void TVTRProcessDatabaseData::Commit(int32_t session_id, bool flush) {
  TVTRDatabaseDataGuard guard(*this);
  for (const auto& table : TableDataList) {
    VTR_ASSERT(dynamic_cast<TVTRProcessTableData*>(table.get()) != nullptr);
    static_cast<TVTRProcessTableData&>(*table).CommitSession(session_id);
  }
}
