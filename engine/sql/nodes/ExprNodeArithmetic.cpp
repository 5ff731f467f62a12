#include "engine/sql/nodes/ExprNodeArithmetic.h"

#include <cmath>
#include <limits>

#include "engine/foundation/VTRExcept.h"
#include "platform/os/Random.h"
#include "platform/rtl/ArithmeticError.h"

namespace {

// A function of finite arguments must give a finite number.
double Checked(double result, bool finite_arguments) {
  if (finite_arguments && std::isnan(result)) throw EInvalidOp();
  if (finite_arguments && std::isinf(result)) throw EOverflow();
  return result;
}

void StoreDouble(TVTRVariant& result, double value) {
  result.Clear(bdtDouble);
  result.SetAsDouble(value);
}

void StoreInteger(TVTRVariant& result, int32_t value) {
  result.Clear(bdtInteger);
  result.SetAsInteger(value);
}

// A whole number as an INTEGER; outside its range the conversion fails as
// the value's own conversions do, where a cast would cut the bits.
void StoreWholeNumber(TVTRVariant& result, double value) {
  if (!(value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max()))
    throw EVTRException::CreateFmt(30051, "Cannot cast from '%s' to '%s'", GetBaseTypeName(bdtDouble),
                                   GetBaseTypeName(bdtInteger));
  StoreInteger(result, static_cast<int32_t>(value));
}

}  // namespace

TVTRVariant& TVTRExprNodeArithmetic::GetValue() {
  switch (Operator()) {
    case eoAdd:
    case eoMultiply:
    case eoDivide:
      result_.Assign(Operand(0).GetValue(), true);
      for (int32_t i = 1; i < OperandCount(); ++i) {
        const TVTRVariant& next = Operand(i).GetValue();
        if (Operator() == eoAdd)
          result_.Add(next);
        else if (Operator() == eoMultiply)
          result_.Multiply(next);
        else
          result_.Divide(next);
      }
      break;
    case eoNegate:
      result_.Assign(Operand(0).GetValue(), true);
      result_.Negate();
      break;
    default:
      EvaluateFunction();
  }
  return result_;
}

void TVTRExprNodeArithmetic::EvaluateFunction() {
  const TVTRVariant& operand = Operand(0).GetValue();
  switch (Operator()) {
    case eoAbs:
      result_.Assign(operand, true);
      if (result_.GetAsDouble() < 0) result_.Negate();
      return;
    case eoSqr:
      result_.Assign(operand, true);
      result_.Multiply(operand);
      return;
    case eoCeil:
      StoreWholeNumber(result_, std::ceil(operand.GetAsDouble()));
      return;
    case eoFloor:
      StoreWholeNumber(result_, std::floor(operand.GetAsDouble()));
      return;
    case eoRound:
      // Halves go to the even neighbour: the default rounding mode.
      StoreWholeNumber(result_, std::nearbyint(operand.GetAsDouble()));
      return;
    case eoSign: {
      const double x = operand.GetAsDouble();
      StoreInteger(result_, (x > 0) - (x < 0));
      return;
    }
    case eoRand: {
      // The source gives 0 for an empty range (n <= 0).
      StoreInteger(result_, DefaultRandom().Below(operand.GetAsInteger()));
      return;
    }
    case eoPower: {
      const double base = operand.GetAsDouble();
      const double exponent = Operand(1).GetValue().GetAsDouble();
      StoreDouble(result_, Checked(std::pow(base, exponent), std::isfinite(base) && std::isfinite(exponent)));
      return;
    }
    default:
      break;
  }
  const double x = operand.GetAsDouble();
  double value;
  switch (Operator()) {
    case eoAcos:
      value = std::acos(x);
      break;
    case eoAsin:
      value = std::asin(x);
      break;
    case eoAtan:
      value = std::atan(x);
      break;
    case eoCos:
      value = std::cos(x);
      break;
    case eoExp:
      value = std::exp(x);
      break;
    case eoLog:
      value = std::log(x);
      break;
    case eoSin:
      value = std::sin(x);
      break;
    case eoSqrt:
      value = std::sqrt(x);
      break;
    default:
      throw EVTRException::CreateFmt(30121, "Unknown operator: '%s'", GetOperatorName(Operator()));
  }
  StoreDouble(result_, Checked(value, std::isfinite(x)));
}

TVTRAdvancedDataType TVTRExprNodeArithmetic::GetDataType() {
  switch (Operator()) {
    case eoAbs:
    case eoSqr:
      return Operand(0).GetDataType();
    case eoCeil:
    case eoFloor:
    case eoRand:
    case eoRound:
    case eoSign:
      return adtInteger;
    case eoAcos:
    case eoAsin:
    case eoAtan:
    case eoCos:
    case eoExp:
    case eoLog:
    case eoPower:
    case eoSin:
    case eoSqrt:
      return adtFloat;
    default:
      return TVTRExprNode::GetDataType();
  }
}

int32_t TVTRExprNodeArithmetic::GetDataSize() {
  if (Operator() != eoAdd || !IsStringAdvancedType(GetDataType())) return 0;
  int32_t size = 0;
  for (int32_t i = 0; i < OperandCount(); ++i) size += Operand(i).GetDataSize();
  return size;
}
