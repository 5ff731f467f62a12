#include "engine/sql/ddl/SQLFieldDef.h"

std::string JoinColumnNames(const std::vector<TVTRSQLIndexField>& columns, char separator,
                            bool (*test)(const TVTRSQLIndexField&)) {
  std::string names;
  for (const TVTRSQLIndexField& column : columns) {
    if (test != nullptr && !test(column)) continue;
    if (!names.empty()) names += separator;
    names += column.Name;
  }
  return names;
}
