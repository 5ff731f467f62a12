#pragma once
// The result tables a query left in "TEMP".
#include <string>
#include <vector>

#include "engine/access/Table.h"
#include "platform/rtl/StringList.h"

// The names of the tables in "TEMP" that begin with "TEMPORARY_".
inline std::vector<std::string> TemporaryTables() {
  TVTRTable probe(nullptr);
  probe.SetTemporary(true);
  probe.SetDBFlag(dbfFieldDefs, true);
  TStringList names;
  probe.Database()->GetTableNames(names);
  probe.SetDBFlag(dbfFieldDefs, false);
  std::vector<std::string> temporary;
  for (int i = 0; i < names.Count(); ++i)
    if (names[i].starts_with("TEMPORARY_")) temporary.push_back(names[i]);
  return temporary;
}
