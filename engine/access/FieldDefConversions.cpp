#include "engine/access/DefConversions.h"

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/meta/DefImage.h"

namespace {

TVTRFieldDef& AddEngineField(TVTRFieldDefs& engine_fields, const std::string& name, TVTRAdvancedDataType type,
                             int32_t size) {
  TVTRFieldDef& field = engine_fields.AddFieldDef();
  field.Name = name.substr(0, kMaxShortStringLength);
  field.SetDataType(type, size);
  return field;
}

// The position of the table field that a constraint targets; `native_error`
// "Field #%d not found" when the table has none of that ID.
int32_t ConstrainedField(const TVTRConstraintDef& constraint, const TVTRFieldDefs& table_fields,
                         int32_t native_error) {
  const int32_t position = table_fields.IndexOfObjectID(constraint.TargetID);
  if (position < 0) throw EVTRException::CreateFmt(native_error, "Field #%d not found", constraint.TargetID);
  return position;
}

}  // namespace

void FieldDefsToEngineFieldDefs(const TFieldDefs& field_defs, TVTRFieldDefs& engine_fields) {
  engine_fields.Clear();
  for (int i = 0; i < field_defs.Count(); ++i) {
    const TFieldDef& def = *field_defs[i];
    AddEngineField(engine_fields, def.Name(), FieldTypeToAdvancedType(def.DataType()), def.Size());
  }
}

void FieldDefsToAdvFieldDefs(const TFieldDefs& field_defs, TVTRAdvFieldDefs& items) {
  items.Clear();
  for (int i = 0; i < field_defs.Count(); ++i) {
    const TFieldDef& def = *field_defs[i];
    TVTRAdvFieldDef& item = items.AddFieldDef();
    item.Name = def.Name();
    item.DataType = FieldTypeToAdvancedType(def.DataType());
    item.Size = def.Size();
    item.Required = def.Required();
  }
}

void AdvFieldDefsToFieldDefs(const TVTRAdvFieldDefs& items, TFieldDefs& field_defs) {
  field_defs.Clear();
  for (int32_t i = 0; i < items.GetCount(); ++i) {
    const TVTRAdvFieldDef& item = items.GetItem(i);
    field_defs.Add(item.Name, AdvancedTypeToFieldType(item.DataType), item.Size, item.Required);
  }
}

void AdvFieldDefsToEngineDefs(const TVTRAdvFieldDefs& items, TVTRFieldDefs& engine_fields,
                              const TVTRIndexDefs& engine_indexes, TVTRConstraintDefs& constraints,
                              bool temporary) {
  engine_fields.Clear();
  constraints.Clear();
  for (int32_t i = 0; i < items.GetCount(); ++i) {
    const TVTRAdvFieldDef& item = items.GetItem(i);
    TVTRFieldDef& field = AddEngineField(engine_fields, item.Name, item.DataType, item.Size);
    field.BlobCompressionAlgorithm = item.BlobCompressionAlgorithm;
    field.BlobCompressionMode = item.BlobCompressionMode;
    field.BlobBlockSize = item.BlobBlockSize > 0 ? item.BlobBlockSize : kDefaultBlobBlockSize;
    field.AutoincIncrement = item.AutoincIncrement;
    field.AutoincInitialValue = item.AutoincInitialValue;
    field.AutoincMinValue = item.AutoincMinValue;
    field.AutoincMaxValue = item.AutoincMaxValue;
    field.AutoincCycled = item.AutoincCycled;
    field.DefaultValue = item.DefaultValue;
    if (temporary) continue;
    if (item.Required) constraints.AddNotNull().TargetName = field.Name;
    if (!item.MinValue.IsNull() || !item.MaxValue.IsNull()) {
      TVTRConstraintDefCheck& check = constraints.AddCheck();
      check.TargetName = field.Name;
      check.MinValue = item.MinValue;
      check.MaxValue = item.MaxValue;
    }
  }
  for (int32_t i = 0; i < engine_indexes.GetCount(); ++i)
    CreateConstraintFromIndexDef(engine_indexes.GetIndexDef(i), constraints);
}

void EngineDefsToAdvFieldDefs(const TVTRFieldDefs& visible, const TVTRFieldDefs& table_fields,
                              const TVTRConstraintDefs& constraints, TVTRAdvFieldDefs& items) {
  items.Clear();
  for (int32_t i = 0; i < visible.GetCount(); ++i) {
    const TVTRFieldDef& field = visible.GetFieldDef(i);
    TVTRAdvFieldDef& item = items.AddFieldDef();
    item.Name = field.Name;
    item.ObjectID = field.ObjectID;
    item.DataType = field.DataType;
    item.Size = field.DataType == adtGuid ? 0 : field.Size;
    item.AutoincIncrement = field.AutoincIncrement;
    item.AutoincInitialValue = field.AutoincInitialValue;
    item.AutoincMinValue = field.AutoincMinValue;
    item.AutoincMaxValue = field.AutoincMaxValue;
    item.AutoincCycled = field.AutoincCycled;
    item.BlobCompressionAlgorithm =
        field.BlobCompressionAlgorithm >= 1 && field.BlobCompressionAlgorithm <= 3 ? field.BlobCompressionAlgorithm : 0;
    item.BlobCompressionMode = field.BlobCompressionMode;
    item.BlobBlockSize = field.BlobBlockSize;
    item.DefaultValue = field.DefaultValue;
  }
  const auto visible_item = [&](int32_t table_position) -> TVTRAdvFieldDef* {
    for (int32_t i = 0; i < visible.GetCount(); ++i)
      if (visible.GetFieldDef(i).FieldNo == table_position) return &items.GetItem(i);
    return nullptr;
  };
  for (int32_t i = 0; i < constraints.GetCount(); ++i) {
    const TVTRConstraintDef& constraint = constraints.GetConstraintDef(i);
    switch (constraint.ConstraintType) {
      case ctPrimaryKey:
      case ctUnique:
        break;
      case ctNotNull:
        if (TVTRAdvFieldDef* item = visible_item(ConstrainedField(constraint, table_fields, 30032)))
          item->Required = true;
        break;
      case ctCheck:
        if (TVTRAdvFieldDef* item = visible_item(ConstrainedField(constraint, table_fields, 30031))) {
          const auto& check = static_cast<const TVTRConstraintDefCheck&>(constraint);
          item->MinValue = check.MinValue;
          item->MaxValue = check.MaxValue;
        }
        break;
      default:
        throw EVTRException(30039, "Not implemented yet");
    }
  }
}

void EngineDefsToFieldDefs(const TVTRFieldDefs& visible, const TVTRConstraintDefs& constraints,
                           TFieldDefs& field_defs) {
  field_defs.Clear();
  for (int32_t i = 0; i < visible.GetCount(); ++i) {
    const TVTRFieldDef& field = visible.GetFieldDef(i);
    const TFieldType type = AdvancedTypeToFieldType(field.DataType);
    const bool sized = IsStringOrBytesAdvancedType(field.DataType) && type != ftGuid;
    field_defs.Add(field.Name, type, sized ? field.Size : 0, false);
  }
  for (int32_t i = 0; i < constraints.GetCount(); ++i) {
    const TVTRConstraintDef& constraint = constraints.GetConstraintDef(i);
    if (constraint.ConstraintType != ctNotNull) continue;
    const int32_t position = visible.IndexOfObjectID(constraint.TargetID);
    if (position < 0) continue;
    const int index = field_defs.IndexOf(visible.GetFieldDef(position).Name);
    if (index >= 0 && field_defs[index]->DataType() != ftAutoInc) field_defs[index]->SetRequired(true);
  }
}
