#pragma once
// A constant: its value is its result.
#include "engine/sql/nodes/ExprNode.h"

class TVTRExprNodeConst : public TVTRExprNode {
 public:
  explicit TVTRExprNodeConst(TVTRVariant value);

  TVTRVariant& GetValue() override { return result_; }
  // The first column type of the value's base type.
  TVTRAdvancedDataType GetDataType() override;
  // Bytes of a text value without its terminator; 0 for NULL and other values.
  int32_t GetDataSize() override;
  bool CanEvaluateOn(TVTRAO*, TVTRAO*, TVTRCursor*) override { return true; }

  // The value itself, for the parser and Prepare to adjust.
  TVTRVariant& Value() { return result_; }
};

// The constant the node is, or nil.
TVTRExprNodeConst* AsConstant(TVTRExprNode& node);
