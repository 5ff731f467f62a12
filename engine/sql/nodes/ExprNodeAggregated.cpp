#include "engine/sql/nodes/ExprNodeAggregated.h"

#include "engine/foundation/VTRExcept.h"
#include "engine/sql/operators/AO.h"
#include "platform/rtl/ArithmeticError.h"

namespace {

bool IsIntegerBaseType(TVTRBaseDataType type) {
  return type >= bdtShortInt && type <= bdtCardinal;
}

void RequireNumber(const TVTRVariant& value, int32_t code, const char* name) {
  if (!value.IsNumeric())
    throw EVTRException::CreateFmt(code, "Not numeric argument in numeric operator '%s'", name);
}

}  // namespace

bool TVTRExprNodeAggregated::DistinctOrder::operator()(const TVTRVariant& a, const TVTRVariant& b) const {
  return a.Compare(b, {}) == crLess;
}

TVTRExprNodeAggregated::TVTRExprNodeAggregated(TVTRExprOperator op, bool distinct, TVTRExprNodePtr argument)
    : TVTRExprNode(op), distinct_(distinct) {
  if (argument) AppendOperand(std::move(argument));
}

TVTRVariant& TVTRExprNodeAggregated::GetValue() {
  switch (Operator()) {
    case eoCount:
    case eoCountAll:
      result_.Clear(bdtInteger);
      result_.SetAsInteger(count_);
      break;
    case eoAvg:
      result_.Assign(total_, true);
      if (count_ > 0) {
        TVTRVariant count;
        count.SetAsDouble(count_);
        result_.Divide(count);
        result_.CastTo(bdtDouble);
      }
      break;
    default:
      result_.Assign(total_, false);
  }
  return result_;
}

void TVTRExprNodeAggregated::ResetAggregate() {
  count_ = 0;
  total_.Clear(bdtUnknown);
  seen_.clear();
}

void TVTRExprNodeAggregated::Accumulate() {
  if (Operator() == eoCountAll) {
    ++count_;
    return;
  }
  const TVTRVariant& value = Operand(0).GetValue();
  switch (Operator()) {
    case eoSum:
      if (value.IsNull()) return;
      RequireNumber(value, 30132, "SUM");
      if (FirstOccurrence(value)) AddToTotal(total_, value);
      return;
    case eoAvg:
      if (value.IsNull()) return;
      RequireNumber(value, 30133, "AVG");
      if (!FirstOccurrence(value)) return;
      AddToTotal(total_, value);
      ++count_;
      return;
    case eoMin:
    case eoMax: {
      if (total_.IsNull()) {
        total_.Assign(value, true);
        return;
      }
      if (value.IsNull()) return;
      const TVTRCompareResult order = value.Compare(total_, {.raw_result = true, .case_insensitive = true});
      if (order == (Operator() == eoMin ? crLess : crGreater)) total_.Assign(value, true);
      return;
    }
    case eoCount:
      if (!value.IsNull() && FirstOccurrence(value)) ++count_;
      return;
    default:
      throw EVTRException::CreateFmt(30134, "Unknown operator: '%s'", GetOperatorName(Operator()));
  }
}

TVTRAdvancedDataType TVTRExprNodeAggregated::GetDataType() {
  switch (Operator()) {
    case eoSum: {
      const TVTRAdvancedDataType type = Operand(0).GetDataType();
      const bool fractional =
          type == adtSingle || type == adtFloat || type == adtExtended || type == adtCurrency;
      return fractional ? type : adtLargeInt;
    }
    case eoAvg:
      return adtFloat;
    case eoMin:
    case eoMax:
      return Operand(0).GetDataType();
    default:
      return adtInteger;
  }
}

bool TVTRExprNodeAggregated::CanEvaluateOn(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  return ao && ao->IsGrouping && TVTRExprNode::CanEvaluateOn(ao, outer_ao, outer_cursor);
}

bool TVTRExprNodeAggregated::FirstOccurrence(const TVTRVariant& value) {
  return !distinct_ || seen_.insert(value).second;
}

void TVTRExprNodeAggregated::AddToTotal(TVTRVariant& total, const TVTRVariant& value) {
  const bool integers =
      IsIntegerBaseType(value.DataType()) && (total.IsNull() || total.DataType() == bdtLargeInt);
  if (!integers) {
    total.Add(value);
    return;
  }
  int64_t sum = value.GetAsLargeInt();
  if (!total.IsNull() && __builtin_add_overflow(total.GetAsLargeInt(), sum, &sum)) throw EIntOverflow();
  total.Clear(bdtLargeInt);
  total.SetAsLargeInt(sum);
}
