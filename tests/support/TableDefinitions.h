#pragma once
// Adds named fields, one-column indexes and their unique constraints to
// table definitions, as every test that builds a table does.
#include <cstdint>
#include <string>

#include "engine/storage/meta/ConstraintDef.h"
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

// The constraint that the table component gives a unique index on one
// field, and that refuses a duplicate key.
inline void AddUniqueConstraint(TVTRConstraintDefs& constraints, const std::string& index,
                                const std::string& field) {
  TVTRConstraintDefUnique& unique = constraints.AddUnique();
  unique.Name = "C_Unique$" + field;
  unique.TargetName = index;
  unique.KeyColumns = {{field, 0}};
}
