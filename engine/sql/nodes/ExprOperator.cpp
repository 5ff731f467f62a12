#include "engine/sql/nodes/ExprOperator.h"

std::string_view GetOperatorName(TVTRExprOperator op) {
  switch (op) {
    case eoEqual:
      return "=";
    case eoNotEqual:
      return "<>";
    case eoGreater:
      return ">";
    case eoLess:
      return "<";
    case eoGreaterOrEqual:
      return ">=";
    case eoLessOrEqual:
      return "<=";
    case eoNot:
      return "NOT";
    case eoAnd:
      return "AND";
    case eoOr:
      return "OR";
    case eoLike:
      return "LIKE";
    case eoNotLike:
      return "NOT LIKE";
    case eoIsNull:
      return "IS NULL";
    case eoIsNotNull:
      return "IS NOT NULL";
    case eoAdd:
      return "+";
    case eoNegate:
      return "-";
    case eoMultiply:
      return "*";
    case eoDivide:
      return "/";
    case eoConcat:
      return "||";
    case eoUpper:
      return "UPPER";
    case eoLower:
      return "LOWER";
    case eoTrim:
      return "TRIM";
    case eoLTrim:
      return "LTRIM";
    case eoRTrim:
      return "RTRIM";
    case eoSubstring:
      return "SUBSTRING";
    case eoSum:
      return "SUM";
    case eoAvg:
      return "AVG";
    case eoMin:
      return "MIN";
    case eoMax:
      return "MAX";
    case eoCount:
      return "COUNT";
    case eoCountAll:
      return "COUNT(*)";
    case eoToString:
      return "TOSTRING";
    default:
      return "unknown";
  }
}

TVTRExprOperator MirroredComparison(TVTRExprOperator op) {
  switch (op) {
    case eoGreater:
      return eoLess;
    case eoLess:
      return eoGreater;
    case eoGreaterOrEqual:
      return eoLessOrEqual;
    case eoLessOrEqual:
      return eoGreaterOrEqual;
    default:
      return op;
  }
}
