#include "engine/sql/dml/AssignValue.h"

#include "engine/access/DataSet.h"
#include "engine/foundation/VTRExcept.h"

void AssignValueToField(const TVTRVariant* value, TVTRDataSet& dataset, int32_t field_index) {
  if (value == nullptr) throw EVTRException(30359, "Value is Null");
  const TVTRBaseDataType field_type = dataset.Handle()->FieldDefs.GetFieldDef(field_index).BaseType;
  TVTRVariant stored(field_type);
  if (value->IsNull()) {
    // Stays the NULL of the field's type.
  } else if (IsBlobBaseType(field_type)) {
    int32_t size = value->Size();
    if (field_type == bdtMemo && value->IsString() && !value->IsWideString() && size > 0) --size;
    stored.SetBuffer(value->Data(), size, field_type, TVTRBufferMode::Borrow);
  } else {
    stored.Assign(*value, false);
    stored.CastTo(field_type);
  }
  dataset.SetFieldVariant(stored, field_index, false);
}
