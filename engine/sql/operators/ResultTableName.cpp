#include "engine/sql/operators/ResultTableName.h"

#include "engine/access/Table.h"
#include "engine/foundation/containers/UniqueName.h"

void NameResultTable(TVTRTable& table, const char* prefix) {
  table.SetTableName(MakeUniqueName(prefix, [&table](const std::string& name) {
    table.SetTableName(name);
    return table.Exists();
  }));
}

std::string NewResultIndexName() {
  // An index name only has to be unique within its own new table.
  return MakeUniqueName(kResultIndexPrefix, [](const std::string&) { return false; });
}
