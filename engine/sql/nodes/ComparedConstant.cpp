#include "engine/sql/nodes/ComparedConstant.h"

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/ValueConversion.h"
#include "engine/sql/nodes/ExprNodeConst.h"
#include "engine/sql/nodes/ExprNodeField.h"

void PrepareComparedConstant(TVTRExprNode& field, TVTRExprNode& constant) {
  const TVTRExprNodeField* reference = AsField(field);
  TVTRExprNodeConst* literal = AsConstant(constant);
  // BLOB fields produce values of another type than they store.
  if (!reference || !literal || !reference->IsBound() || IsBlobBaseType(reference->BaseType())) return;
  TVTRVariant& value = literal->Value();
  const TVTRBaseDataType field_type = reference->BaseType();
  if (value.IsNull() || value.DataType() == field_type) return;
  try {
    if (IsStringBaseType(field_type) && !IsWideStringBaseType(field_type) && value.IsWideString())
      value.CastTo(bdtString);
    if (GetCommonDataType(field_type, value.DataType(), true) == field_type) value.CastTo(field_type);
  } catch (const EVTRException&) {
    // The same conversion fails again when a record is compared.
  }
}
