#pragma once
// A test's view of an expression tree: "OR(=(a,1),=(b,'x'))". Constants show
// their text (text constants quoted), field references their name.
#include <string>

#include "engine/sql/VTRExpressions.h"

inline std::string NodeLabel(const TVTRExprNode& node) {
  // The numeric functions' codes follow their reserved words.
  if (node.Operator() >= eoAbs && node.Operator() <= eoSqrt)
    return std::string(ReservedWordTable[node.Operator() + 217]);
  switch (node.Operator()) {
    case eoNow:
      return "NOW";
    case eoToDate:
      return "TODATE";
    case eoMimeToBin:
      return "MIMETOBIN";
    case eoRowNum:
      return "ROWNUM";
    case eoIn:
      return "IN";
    case eoNotIn:
      return "NOT IN";
    case eoBetween:
      return "BETWEEN";
    case eoNotBetween:
      return "NOT BETWEEN";
    case eoAdd:
      return "ADD";
    case eoNegate:
      return "NEG";
    case eoMultiply:
      return "MUL";
    case eoDivide:
      return "DIV";
    case eoConcat:
      return "CONCAT";
    case eoLength:
      return "LENGTH";
    case eoPosition:
      return "POSITION";
    case eoCast:
      return "CAST";
    case eoNone:
      return "CASE";
    default:
      return std::string(GetOperatorName(node.Operator()));
  }
}

inline std::string Describe(TVTRExprNode& node) {
  if (TVTRExprNodeConst* constant = AsConstant(node)) {
    const TVTRVariant& value = constant->Value();
    if (value.IsNull()) return "NULL";
    return value.IsString() ? "'" + value.GetAsString() + "'" : value.GetAsString();
  }
  if (TVTRExprNodeField* field = AsField(node))
    return field->TableName().empty() ? field->FieldName() : field->TableName() + "." + field->FieldName();
  std::string text = NodeLabel(node) + "(";
  for (int32_t i = 0; i < node.OperandCount(); ++i) text += (i ? "," : "") + Describe(node.Operand(i));
  return text + ")";
}
