#pragma once
// The tables of "dat_temple.vtr" that both programs expect: every table with
// its columns in their stored order, in the engine's own data types and sizes
// (a String's size is its length in code page 874 bytes), and its indexes.
// Names are as the programs write them in lower case; the engine matches
// table and column names in any case.
//
// Files made by earlier installations may have narrower columns and lack the
// unique indexes; nothing may rely on an index but for refusing a duplicate.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/DataTypes.h"

struct ColumnDefinition {
  std::string Name;
  TVTRAdvancedDataType DataType = adtUnknown;
  int32_t Size = 0;  // the length of a String; 0 for every other type
};

struct IndexDefinition {
  std::string Name;
  std::string Fields;   // ";" between the names of a compound index
  uint8_t Options = 0;  // kIndexPrimaryBit, kIndexUniqueBit of engine/access/AdvIndexDefs.h
};

struct TableDefinition {
  std::string Name;
  std::vector<ColumnDefinition> Columns;
  std::vector<IndexDefinition> Indexes;
};

// Every table, in the order in which a new file receives them.
const std::vector<TableDefinition>& TempleSchema();
