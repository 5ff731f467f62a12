#include "engine/sql/nodes/ExprNodeBoolean.h"

#include <string>

#include "engine/foundation/LikePattern.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/ValueConversion.h"
#include "engine/sql/nodes/ComparedConstant.h"
#include "engine/sql/nodes/ExprNodeSubquery.h"
#include "engine/sql/nodes/TextValues.h"

namespace {

std::optional<bool> Negated(std::optional<bool> value) {
  if (value) return !*value;
  return value;
}

// ANSI text of a value: in place for ANSI text, else converted into `holder`.
std::string_view AnsiText(const TVTRVariant& value, std::string& holder) {
  if (value.IsString() && !value.IsWideString()) return AnsiTextOf(value);
  holder = value.GetAsString();
  return holder;
}

}  // namespace

TVTRExprNodeBoolean::TVTRExprNodeBoolean(TVTRExprOperator op, bool case_insensitive)
    : TVTRExprNode(op, case_insensitive) {
  result_.Clear(bdtLogical);
}

void TVTRExprNodeBoolean::Prepare() {
  TVTRExprNode::Prepare();
  const bool compares =
      Operator() == eoIn || Operator() == eoNotIn || Operator() == eoBetween || Operator() == eoNotBetween;
  if (!compares) return;
  for (int32_t i = 1; i < OperandCount(); ++i) PrepareComparedConstant(Operand(0), Operand(i));
}

TVTRVariant& TVTRExprNodeBoolean::GetValue() {
  const std::optional<bool> value = Evaluate();
  if (value)
    result_.SetAsLogical(*value);
  else
    result_.SetNull();
  return result_;
}

std::optional<bool> TVTRExprNodeBoolean::Evaluate() {
  switch (Operator()) {
    case eoNot: {
      const TVTRVariant& operand = Operand(0).GetValue();
      if (operand.IsNull()) return std::nullopt;
      return !operand.GetAsLogical();
    }
    case eoAnd:
      return EvaluateJunction(false);
    case eoOr:
      return EvaluateJunction(true);
    case eoIn:
      return EvaluateIn();
    case eoNotIn:
      return Negated(EvaluateIn());
    case eoBetween:
      return EvaluateBetween();
    case eoNotBetween:
      return Negated(EvaluateBetween());
    case eoLike:
      return EvaluateLike();
    case eoNotLike:
      return Negated(EvaluateLike());
    case eoExists:
      return static_cast<TVTRExprNodeSubquery&>(Operand(0)).HasRows();
    case eoIsNull:
      return Operand(0).GetValue().IsNull();
    case eoIsNotNull:
      return !Operand(0).GetValue().IsNull();
    default:
      throw EVTRException::CreateFmt(30116, "Unknown operator: '%s'", GetOperatorName(Operator()));
  }
}

std::optional<bool> TVTRExprNodeBoolean::EvaluateJunction(bool decisive) {
  std::optional<bool> value = !decisive;
  for (int32_t i = 0; i < OperandCount(); ++i) {
    const TVTRVariant& operand = Operand(i).GetValue();
    if (operand.IsNull())
      value.reset();
    else if (operand.GetAsLogical() == decisive)
      return decisive;
  }
  return value;
}

std::optional<bool> TVTRExprNodeBoolean::EvaluateIn() {
  const TVTRVariant& value = Operand(0).GetValue();
  if (value.IsNull()) return std::nullopt;
  if (auto* subquery = dynamic_cast<TVTRExprNodeSubquery*>(&Operand(1))) return subquery->Contains(value);
  const TVTRCompareFlags flags{.raw_result = true, .case_insensitive = CaseInsensitive()};
  for (int32_t i = 1; i < OperandCount(); ++i)
    if (value.Compare(Operand(i).GetValue(), flags) == crEqual) return true;
  return false;
}

std::optional<bool> TVTRExprNodeBoolean::EvaluateBetween() {
  const TVTRVariant& value = Operand(0).GetValue();
  const TVTRVariant& low = Operand(1).GetValue();
  const TVTRVariant& high = Operand(2).GetValue();
  if (value.IsNull() || low.IsNull() || high.IsNull()) return std::nullopt;
  const TVTRCompareFlags flags{.raw_result = true, .case_insensitive = CaseInsensitive()};
  const TVTRCompareResult from_low = value.Compare(low, flags);
  const TVTRCompareResult to_high = value.Compare(high, flags);
  return (from_low == crEqual || from_low == crGreater) && (to_high == crEqual || to_high == crLess);
}

std::optional<bool> TVTRExprNodeBoolean::EvaluateLike() {
  const TVTRVariant& value = Operand(0).GetValue();
  const TVTRVariant& pattern = Operand(1).GetValue();
  if (value.IsNull() || pattern.IsNull()) return std::nullopt;
  const TVTRBaseDataType common = GetCommonDataType(value.DataType(), pattern.DataType(), false);
  if (!IsStringBaseType(common))
    throw EVTRException::CreateFmt(30120, "Not string argument in function '%s'", "LIKE");
  if (IsWideStringBaseType(common))
    return MatchLikePatternWide(value.GetAsWideString(), pattern.GetAsWideString(), CaseInsensitive());
  std::string value_holder, pattern_holder;
  return MatchLikePattern(AnsiText(value, value_holder), AnsiText(pattern, pattern_holder),
                          CaseInsensitive());
}

TVTRExprNodeBoolean* AsAnd(TVTRExprNode& node) {
  return node.Operator() == eoAnd ? dynamic_cast<TVTRExprNodeBoolean*>(&node) : nullptr;
}
