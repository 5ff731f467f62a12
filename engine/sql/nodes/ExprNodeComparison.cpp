#include "engine/sql/nodes/ExprNodeComparison.h"

#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "engine/sql/nodes/ComparedConstant.h"
#include "engine/sql/nodes/ExprNodeField.h"
#include "engine/sql/nodes/ExprNodeSubquery.h"
#include "engine/sql/operators/AO.h"
#include "engine/sql/nodes/TextValues.h"

TVTRExprNodeComparison::TVTRExprNodeComparison(TVTRExprOperator op, const TVTRComparisonOptions& options,
                                               TVTRExprNodePtr left, TVTRExprNodePtr right)
    : TVTRExprNode(op, options.case_insensitive), options_(options) {
  AppendOperand(std::move(left));
  AppendOperand(std::move(right));
}

void TVTRExprNodeComparison::Prepare() {
  TVTRExprNode::Prepare();
  PrepareComparedConstant(Operand(0), Operand(1));
  PrepareComparedConstant(Operand(1), Operand(0));
}

TVTRVariant& TVTRExprNodeComparison::GetValue() {
  if (options_.quantifier != qnNone) {
    auto& subquery = static_cast<TVTRExprNodeSubquery&>(Operand(1));
    result_.SetAsLogical(subquery.QuantifiedTest(Operator(), options_.quantifier, Operand(0).GetValue()));
    return result_;
  }
  const TVTRCompareResult code = Compare(Operand(0).GetValue(), Operand(1).GetValue());
  bool holds;
  switch (Operator()) {
    case eoEqual:
      holds = code == crEqual;
      break;
    case eoNotEqual:
      holds = code != crEqual;
      break;
    case eoGreater:
      holds = code == crGreater;
      break;
    case eoLess:
      holds = code == crLess;
      break;
    case eoGreaterOrEqual:
      holds = code == crEqual || code == crGreater;
      break;
    case eoLessOrEqual:
      holds = code == crEqual || code == crLess;
      break;
    default:
      throw EVTRException::CreateFmt(30117, "Unknown operator: '%s'", GetOperatorName(Operator()));
  }
  result_.SetAsLogical(holds);
  return result_;
}

TVTRCompareResult TVTRExprNodeComparison::Compare(const TVTRVariant& left, const TVTRVariant& right) const {
  if (options_.prefix == TVTRPrefixOperand::None)
    return left.Compare(right,
                        {.raw_result = options_.raw_null, .case_insensitive = options_.case_insensitive});
  int32_t length;
  switch (options_.prefix) {
    case TVTRPrefixOperand::Left:
      length = TextLengthOf(left);
      break;
    case TVTRPrefixOperand::Right:
      length = TextLengthOf(right);
      break;
    default:
      length = std::min(TextLengthOf(left), TextLengthOf(right));
  }
  const TVTRCompareOptions options{.case_insensitive = options_.case_insensitive, .length = length};
  if (options_.raw_null) return CompareValueBuffers(ValueRefOf(left), ValueRefOf(right), options);
  const int sign = CompareValueBuffersSign(ValueRefOf(left), ValueRefOf(right), options);
  return sign < 0 ? crLess : sign > 0 ? crGreater : crEqual;
}

bool TVTRExprNodeComparison::IsJoinCondition(TVTRAO* left_ao, TVTRAO* right_ao) {
  if (Operator() != eoEqual) return false;
  TVTRExprNodeField* first = AsField(Operand(0));
  TVTRExprNodeField* second = AsField(Operand(1));
  if (!first || !second || first->IsOuter() || second->IsOuter()) return false;
  // The input the field is found in: 0 left, 1 right, -1 neither.
  const auto side = [&](const TVTRExprNodeField& field, int32_t code) {
    const int32_t in_left = left_ao->FindFields(field.FieldName(), field.TableName(), true, nullptr, false);
    const int32_t in_right = right_ao->FindFields(field.FieldName(), field.TableName(), true, nullptr, false);
    if (in_left + in_right > 1)
      throw EVTRException::CreateFmt(code, "Ambiguous field reference to '%s'", field.FieldName());
    return in_left == 1 ? 0 : in_right == 1 ? 1 : -1;
  };
  const int32_t first_side = side(*first, 10404);
  const int32_t second_side = side(*second, 10405);
  return first_side >= 0 && second_side >= 0 && first_side != second_side;
}
