#include "engine/sql/nodes/ScanKeys.h"

#include "engine/sql/nodes/ExprNodeConst.h"
#include "engine/storage/base/Cursor.h"
#include "platform/rtl/TextCase.h"

TVTRExprNodeField* InnerField(TVTRExprNode& node) {
  TVTRExprNodeField* field = AsField(node);
  return field && !field->IsOuter() ? field : nullptr;
}

namespace {

bool IsKeyValue(TVTRExprNode& node) {
  if (AsConstant(node)) return true;
  const TVTRExprNodeField* field = AsField(node);
  return field && field->IsOuter();
}

}  // namespace

TVTRScanOperands FindScanOperands(TVTRExprNode& left, TVTRExprNode& right) {
  TVTRScanOperands operands;
  if (TVTRExprNodeField* field = InnerField(right)) {
    operands = {field, &left, true};
  } else if (TVTRExprNodeField* field = InnerField(left)) {
    operands = {field, &right, false};
  }
  if (operands.field && !IsKeyValue(*operands.key)) return {};
  return operands;
}

bool FieldIsIndexColumn(const TVTRExprNodeField& field, int32_t column, int32_t session_id,
                        const TVTRIndexDef& index) {
  if (column >= index.GetColumnCount()) return false;
  const TVTRCursor* cursor = field.BoundCursor();
  const std::string& name =
      cursor ? cursor->TableFieldDefs.GetFieldDef(field.TableFieldNo()).Name : field.FieldName();
  if (!SameText(name, index.GetColumn(column).FieldName)) return false;
  return column > 0 || !index.Temporary || index.OwnerSessionID == session_id;
}

void StartScanCondition(TVTRScanSearchCondition& condition, const TVTRExprNodeField& field,
                        const TVTRIndexDef& index) {
  TVTRCursor& cursor = *field.BoundCursor();
  uint8_t* key = cursor.AllocRecordBuffer();
  condition.SetOwnedKey(VTRBufferPtr(key), static_cast<uint32_t>(cursor.RecordBufferSize));
  cursor.InitRecord(key, false);
  condition.KeyFieldCount = 0;
  condition.IndexID = index.ObjectID;
  condition.Expression = nullptr;
  condition.FromExpression = true;
}

void AddKeyValue(TVTRScanSearchCondition& condition, const TVTRExprNodeField& field, const TVTRVariant& value) {
  // Written as the field's type; the copy keeps the node's value as it is.
  TVTRVariant key_value(value);
  field.BoundCursor()->SetFieldValue(key_value, field.TableFieldNo(), true, condition.KeyBuffer());
  ++condition.KeyFieldCount;
}

namespace {

int32_t TypeFamily(TVTRBaseDataType type) {
  if (IsStringBaseType(type)) return -1;
  if (IsNumericBaseType(type)) return -2;
  if (IsDateTimeBaseType(type)) return -3;
  return type;
}

}  // namespace

bool SameTypeFamily(TVTRBaseDataType field_type, TVTRBaseDataType value_type) {
  return TypeFamily(field_type) == TypeFamily(value_type);
}
