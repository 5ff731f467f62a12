#pragma once
// CAST: the value converted to a column type; text targets are cut to the
// size operand's value (4096 without one).
#include "engine/sql/nodes/ExprNode.h"

inline constexpr int32_t kDefaultCastTextSize = 4096;

class TVTRExprNodeCast : public TVTRExprNode {
 public:
  // `size` may be nil.
  TVTRExprNodeCast(TVTRAdvancedDataType target, TVTRExprNodePtr value, TVTRExprNodePtr size);

  // Conversion failures are the value's (30051, 30052).
  TVTRVariant& GetValue() override;
  TVTRAdvancedDataType GetDataType() override { return target_; }
  // The size operand's value; else for a text target the width of the value
  // operand's type written as text (30466 for a type without one); else 0.
  int32_t GetDataSize() override;

 private:
  // The size operand's value, never below 0.
  int32_t SizeValue();

  TVTRAdvancedDataType target_;
  bool has_size_;
};
