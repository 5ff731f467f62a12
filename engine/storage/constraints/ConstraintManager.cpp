#include "engine/storage/constraints/ConstraintManager.h"

#include "engine/foundation/ValueCompare.h"
#include "engine/foundation/containers/BufferBits.h"
#include "engine/storage/constraints/IndexConstraint.h"

namespace {

constexpr size_t kMaxNameLength = 255;

bool IsKeyConstraint(const TVTRConstraintDef& def) {
  return def.ConstraintType == ctPrimaryKey || def.ConstraintType == ctUnique;
}

}  // namespace

TVTRBaseConstraintManager::TVTRBaseConstraintManager(TVTRIndexTable& table_data,
                                                     TVTRBaseIndexManager& index_manager,
                                                     RandomSource& random)
    : TableData(table_data), index_manager_(index_manager), random_(random) {}

void TVTRBaseConstraintManager::ResolveConstraint(TVTRConstraintDef& def) {
  const TVTRFieldDefs* fields = TableData.GetFieldDefs();
  const auto find_field = [fields](const std::string& name) {
    return fields == nullptr ? nullptr : fields->GetFieldDefByName(name);
  };
  switch (def.ConstraintType) {
    case ctPrimaryKey:
    case ctUnique: {
      const bool primary = def.ConstraintType == ctPrimaryKey;
      const TVTRIndexDef* index = index_manager_.IndexDefs.GetIndexDefByName(def.TargetName);
      if (index == nullptr) {
        throw EVTRException::CreateFmt(primary ? 30325 : 30326, "Index '%s' not found", def.TargetName);
      }
      def.TargetID = index->ObjectID;
      for (TVTRConstraintKeyColumn& column : static_cast<TVTRConstraintDefUnique&>(def).KeyColumns) {
        const TVTRFieldDef* field = find_field(column.FieldName);
        if (field == nullptr) {
          throw EVTRException::CreateFmt(primary ? 30331 : 30332, "Field '%s' not found", column.FieldName);
        }
        column.FieldID = field->ObjectID;
      }
      break;
    }
    case ctNotNull:
    case ctCheck: {
      const TVTRFieldDef* field = find_field(def.TargetName);
      if (field == nullptr) throw EVTRException::CreateFmt(30027, "Field '%s' not found", def.TargetName);
      def.TargetID = field->ObjectID;
      break;
    }
    default:
      throw EVTRException(30037, "Not implemented yet");
  }
}

void TVTRBaseConstraintManager::ResolveAll() {
  for (int32_t i = 0; i < ConstraintDefs.GetCount(); ++i)
    ResolveConstraint(ConstraintDefs.GetConstraintDef(i));
}

std::string TVTRBaseConstraintManager::FreeName(const std::string& base) {
  if (ConstraintDefs.IndexOf(base) < 0) return base;
  for (;;) {
    const std::string number = std::to_string(random_.Below(65535));
    std::string name = base.substr(0, kMaxNameLength - number.size()) + number;
    if (ConstraintDefs.IndexOf(name) < 0) return name;
  }
}

void TVTRBaseConstraintManager::NameUnnamedConstraints() {
  for (int32_t i = 0; i < ConstraintDefs.GetCount(); ++i) {
    TVTRConstraintDef& def = ConstraintDefs.GetConstraintDef(i);
    if (!def.Name.empty()) continue;
    if (def.ConstraintType != ctNotNull && def.ConstraintType != ctCheck) {
      throw EVTRException(30038, "Not implemented yet");
    }
    const std::string kind = def.ConstraintType == ctNotNull ? "C_NotNull" : "C_Check";
    def.Name = FreeName(("$" + kind + "$" + def.TableName + "$" + def.TargetName).substr(0, kMaxNameLength));
  }
}

void TVTRBaseConstraintManager::AddIndexConstraint(const TVTRIndexDef& index_def) {
  TVTRConstraintDefUnique* def = CreateConstraintFromIndexDef(index_def, ConstraintDefs);
  if (def == nullptr) return;
  try {
    def->ObjectID = TableData.GetNextObjectID();
    ResolveConstraint(*def);
  } catch (...) {
    ConstraintDefs.Delete(ConstraintDefs.GetCount() - 1);
    throw;
  }
}

void TVTRBaseConstraintManager::DropIndexConstraint(int32_t index_id) {
  for (int32_t i = 0; i < ConstraintDefs.GetCount(); ++i) {
    const TVTRConstraintDef& def = ConstraintDefs.GetConstraintDef(i);
    if (IsKeyConstraint(def) && def.TargetID == index_id) {
      ConstraintDefs.Delete(i);
      return;
    }
  }
}

std::pair<const TVTRFieldDef*, bool> TVTRBaseConstraintManager::FieldOf(int32_t id, int32_t native_error,
                                                                        const uint8_t* record) {
  const TVTRFieldDefs* fields = TableData.GetFieldDefs();
  const int32_t position = fields == nullptr ? -1 : fields->IndexOfObjectID(id);
  if (position < 0) throw EVTRException::CreateFmt(native_error, "Field #%d not found", id);
  return {&fields->GetFieldDef(position), GetBufferBit(position, record)};
}

bool TVTRBaseConstraintManager::CheckRecord(int32_t session_id, const uint8_t* record, bool raise_errors,
                                            const TVTRRecordID& id, bool is_insert,
                                            const uint8_t* old_record) {
  for (int32_t i = 0; i < ConstraintDefs.GetCount(); ++i) {
    std::optional<EVTRException> violation =
        Violation(ConstraintDefs.GetConstraintDef(i), session_id, record, id, is_insert, old_record);
    if (!violation) continue;
    if (raise_errors) throw *violation;
    return false;
  }
  return true;
}

std::optional<EVTRException> TVTRBaseConstraintManager::Violation(const TVTRConstraintDef& def,
                                                                  int32_t session_id, const uint8_t* record,
                                                                  const TVTRRecordID& id, bool is_insert,
                                                                  const uint8_t* old_record) {
  switch (def.ConstraintType) {
    case ctPrimaryKey: {
      std::string names;
      bool all_null = true;
      for (const TVTRConstraintKeyColumn& column :
           static_cast<const TVTRConstraintDefUnique&>(def).KeyColumns) {
        const auto [field, is_null] = FieldOf(column.FieldID, 30329, record);
        names += (names.empty() ? "" : ",") + field->Name;
        if (!is_null) {
          all_null = false;
          break;
        }
      }
      if (all_null) {
        return EVTRException::CreateFmt(30330, "Constraint '%s' violated. Value in field '%s' cannot be null",
                                        def.Name, names);
      }
      if (index_manager_.IsDuplicateKey(session_id, def.TargetID, id, is_insert, old_record, record)) {
        return EVTRException::CreateFmt(30319, "Primary Key constraint '%s' violated. Duplicate found.",
                                        def.Name);
      }
      return std::nullopt;
    }
    case ctUnique:
      if (index_manager_.IsDuplicateKey(session_id, def.TargetID, id, is_insert, old_record, record)) {
        return EVTRException::CreateFmt(30320, "Constraint unique '%s' violated. Duplicate found.", def.Name);
      }
      return std::nullopt;
    case ctNotNull: {
      const auto [field, is_null] = FieldOf(def.TargetID, 30024, record);
      if (is_null) {
        return EVTRException::CreateFmt(30026, "Constraint '%s' violated. Value in field '%s' cannot be null",
                                        def.Name, field->Name);
      }
      return std::nullopt;
    }
    case ctCheck: {
      const auto [field, is_null] = FieldOf(def.TargetID, 30028, record);
      if (is_null) return std::nullopt;
      const auto& check = static_cast<const TVTRConstraintDefCheck&>(def);
      const TVTRValueRef value{record + field->MemoryOffset, field->MemoryDataSize, field->BaseType, false};
      const auto compare_bound = [&](const TVTRVariant& bound) {
        return CompareValueBuffers({bound.Data(), bound.Size(), bound.DataType(), false}, value, {false, -1});
      };
      if (!check.MinValue.IsNull() && compare_bound(check.MinValue) == crGreater) {
        return EVTRException::CreateFmt(
            30029, "Constraint '%s' violated. Value in field '%s' cannot be lower than '%s'", def.Name,
            field->Name, check.MinValue.GetAsString());
      }
      if (!check.MaxValue.IsNull() && compare_bound(check.MaxValue) == crLess) {
        return EVTRException::CreateFmt(
            30030, "Constraint '%s' violated. Value in field '%s' cannot be greater than '%s'", def.Name,
            field->Name, check.MaxValue.GetAsString());
      }
      return std::nullopt;
    }
    default:
      throw EVTRException(30036, "Not implemented yet");
  }
}
