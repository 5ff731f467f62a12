#include "engine/storage/constraints/IndexConstraint.h"

#include <string>

namespace {

constexpr size_t kMaxNameLength = 255;

}  // namespace

TVTRConstraintDefUnique* CreateConstraintFromIndexDef(const TVTRIndexDef& index_def,
                                                      TVTRConstraintDefs& constraints) {
  if (!index_def.Primary && !index_def.Unique) return nullptr;
  TVTRConstraintDefUnique& def = index_def.Primary ? constraints.AddPrimaryKey() : constraints.AddUnique();
  std::string name = index_def.Primary ? "C_PK" : "C_Unique";
  for (const TVTRIndexColumn& column : index_def.Columns) {
    def.KeyColumns.push_back({column.FieldName, 0});
    name += "$" + column.FieldName;
  }
  def.Name = name.substr(0, kMaxNameLength);
  def.TargetName = index_def.Name;
  def.TargetID = index_def.ObjectID;
  return &def;
}
