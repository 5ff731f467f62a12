#pragma once
// Adds a named field of a given type to a set of field definitions, as every
// test that builds a table does.
#include <cstdint>
#include <string>

#include "engine/storage/meta/FieldDef.h"

inline TVTRFieldDef& AddField(TVTRFieldDefs& fields, const std::string& name, TVTRAdvancedDataType type,
                              int32_t size = 0) {
  TVTRFieldDef& field = fields.AddFieldDef();
  field.Name = name;
  field.SetDataType(type, size);
  return field;
}
