#pragma once
// Adds named fields and one-column indexes to table definitions, as every
// test that builds a table does.
#include <cstdint>
#include <string>

#include "engine/storage/meta/FieldDef.h"
#include "engine/storage/meta/IndexDef.h"

inline TVTRFieldDef& AddField(TVTRFieldDefs& fields, const std::string& name, TVTRAdvancedDataType type,
                              int32_t size = 0) {
  TVTRFieldDef& field = fields.AddFieldDef();
  field.Name = name;
  field.SetDataType(type, size);
  return field;
}

inline TVTRIndexDef& AddIndex(TVTRIndexDefs& indexes, const std::string& name, const std::string& field,
                              bool unique = false) {
  TVTRIndexDef& index = indexes.AddIndexDef();
  index.Name = name;
  index.SetColumnCount(1);
  index.GetColumn(0).FieldName = field;
  index.Unique = unique;
  return index;
}
