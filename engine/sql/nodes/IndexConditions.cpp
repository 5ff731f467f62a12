// The index conditions that comparisons and IS [NOT] NULL tests offer.
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/nodes/ExprNodeBoolean.h"
#include "engine/sql/nodes/ExprNodeComparison.h"
#include "engine/sql/nodes/ScanKeys.h"
#include "engine/storage/base/Cursor.h"

namespace {

// The kind of a condition "field op value" on a column of that direction.
TVTRScanComparison KindOf(TVTRExprOperator op, bool descending) {
  switch (op) {
    case eoEqual:
      return scEqual;
    case eoGreater:
      return descending ? scBefore : scAfter;
    case eoLess:
      return descending ? scAfter : scBefore;
    case eoGreaterOrEqual:
      return descending ? scNotAfter : scNotBefore;
    default:
      return descending ? scNotBefore : scNotAfter;
  }
}

bool IsIndexOperator(TVTRExprOperator op) {
  return op == eoEqual || op == eoGreater || op == eoLess || op == eoGreaterOrEqual || op == eoLessOrEqual;
}

}  // namespace

TVTRExprOperator TVTRExprNodeComparison::FieldOperator(bool field_is_right) const {
  return field_is_right ? MirroredComparison(Operator()) : Operator();
}

bool TVTRExprNodeComparison::CanUseIndex(int32_t column, TVTRScanComparison kind, int32_t session_id,
                                         const TVTRIndexDef& index) {
  const TVTRScanOperands operands = FindScanOperands(Operand(0), Operand(1));
  if (!operands.field || !operands.field->BoundCursor()) return false;
  if (!FieldIsIndexColumn(*operands.field, column, session_id, index)) return false;
  if (options_.prefix != TVTRPrefixOperand::None || !IsIndexOperator(Operator())) return false;
  if (column > 0 && (kind != scEqual || Operator() != eoEqual)) return false;
  const TVTRBaseDataType field_type = operands.field->BaseType();
  const bool text = IsStringBaseType(field_type);
  if (text && index.GetColumn(column).CaseInsensitive != options_.case_insensitive) return false;
  if (text && operands.field->GetDataSize() < operands.key->GetDataSize()) return false;
  const TVTRVariant& value = operands.key->GetValue();
  if (value.IsNull()) return !options_.raw_null;
  return SameTypeFamily(field_type, value.DataType());
}

void TVTRExprNodeComparison::CollectScanConditions(TVTRScanSearchConditionArray& conditions,
                                                   const TVTRIndexDef& index, TVTRExpression& expression) {
  const TVTRScanOperands operands = FindScanOperands(Operand(0), Operand(1));
  if (!operands.field) throw EVTRException(20055, "Pointer is nil");
  if (!operands.field->BoundCursor()) throw EVTRException(20054, "Pointer is nil");
  if (index.GetColumnCount() == 0) throw EVTRException(20057, "Invalid index for search");
  TVTRScanSearchCondition condition;
  StartScanCondition(condition, *operands.field, index);
  condition.Comparison = KindOf(FieldOperator(operands.field_is_right), index.GetColumn(0).Descending);
  AddKeyValue(condition, *operands.field, operands.key->GetValue());
  // A range with raw NULL semantics may reach the NULL keys, which the
  // comparison refuses: it stays in the record test.
  if (condition.Comparison == scEqual || !options_.raw_null) condition.AddCovered(&expression, this);
  conditions.AddCondition(condition);
}

void TVTRExprNodeComparison::UpdateScanCondition(TVTRScanSearchCondition& condition, const TVTRIndexDef&,
                                                 TVTRExpression& expression) {
  const TVTRScanOperands operands = FindScanOperands(Operand(0), Operand(1));
  AddKeyValue(condition, *operands.field, operands.key->GetValue());
  condition.AddCovered(&expression, this);
}

bool TVTRExprNodeBoolean::CanUseIndex(int32_t column, TVTRScanComparison kind, int32_t session_id,
                                      const TVTRIndexDef& index) {
  if (Operator() != eoIsNull && Operator() != eoIsNotNull) return false;
  const TVTRExprNodeField* field = InnerField(Operand(0));
  if (!field || !field->BoundCursor() || !FieldIsIndexColumn(*field, column, session_id, index)) return false;
  return column == 0 || (Operator() == eoIsNull && kind == scEqual);
}

void TVTRExprNodeBoolean::CollectScanConditions(TVTRScanSearchConditionArray& conditions,
                                                const TVTRIndexDef& index, TVTRExpression& expression) {
  const TVTRExprNodeField* field = InnerField(Operand(0));
  if (!field || !field->BoundCursor()) throw EVTRException(20254, "Pointer is nil");
  if (index.GetColumnCount() == 0) throw EVTRException(20255, "Invalid index for search");
  TVTRScanSearchCondition condition;
  StartScanCondition(condition, *field, index);
  // NULL sorts before every value.
  condition.Comparison =
      Operator() == eoIsNull ? scEqual : index.GetColumn(0).Descending ? scBefore : scAfter;
  AddKeyValue(condition, *field, TVTRVariant());
  condition.AddCovered(&expression, this);
  conditions.AddCondition(condition);
}

void TVTRExprNodeBoolean::UpdateScanCondition(TVTRScanSearchCondition& condition, const TVTRIndexDef&,
                                              TVTRExpression& expression) {
  AddKeyValue(condition, *InnerField(Operand(0)), TVTRVariant());
  condition.AddCovered(&expression, this);
}
