#pragma once
// Arithmetic: addition (any number of operands, a subtracted one standing in
// a negation), negation, multiplication, division, and the numeric functions
// ABS to SQRT (one operand; POWER two: base and exponent).
#include "engine/sql/nodes/ExprNode.h"

class TVTRExprNodeArithmetic : public TVTRExprNode {
 public:
  explicit TVTRExprNodeArithmetic(TVTRExprOperator op) : TVTRExprNode(op) {}

  // The value's own arithmetic and its errors for + - * /; the functions
  // read their operands as numbers (NULL raises 30016). CEIL, FLOOR and ROUND
  // raise the conversion error 30051 for a result outside the 32-bit range;
  // RAND(n) gives 0 to n - 1, and 0 when n is not positive. Another operator
  // code raises 30121.
  TVTRVariant& GetValue() override;
  TVTRAdvancedDataType GetDataType() override;
  // A text addition: the sum of the operand sizes.
  int32_t GetDataSize() override;

 private:
  void EvaluateFunction();
};
