#pragma once
// Text functions: concatenation (any number of operands), UPPER, LOWER,
// TRIM, LTRIM, RTRIM, LENGTH (one), POSITION (substring, string) and
// SUBSTRING (string, start [, length]). Case and blanks are those of the
// engine's text: only ASCII letters have case, blanks are the bytes up to
// and including the space.
#include "engine/sql/nodes/ExprNode.h"

class TVTRExprNodeStringFunction : public TVTRExprNode {
 public:
  explicit TVTRExprNodeStringFunction(TVTRExprOperator op) : TVTRExprNode(op) {}

  // NULL text stays NULL except in LENGTH (0) and POSITION (30016); a NULL
  // SUBSTRING start or length raises 30016. Another operator code: 30131.
  TVTRVariant& GetValue() override;
  TVTRAdvancedDataType GetDataType() override;
  // A concatenation first puts every operand of another type into a CAST to
  // its own type.
  int32_t GetDataSize() override;

 private:
  // A copy of the operand as text, in the result.
  void TakeText(int32_t operand);
  void Substring();
  void Position();
};
