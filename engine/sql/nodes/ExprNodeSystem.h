#pragma once
// ROWNUM: 1, 2, 3, ... on successive evaluations of one node, never reset
// while the node lives.
#include "engine/sql/nodes/ExprNode.h"

class TVTRExprNodeSystem : public TVTRExprNode {
 public:
  explicit TVTRExprNodeSystem(TVTRExprOperator op) : TVTRExprNode(op) {}

  // Another operator code raises 30338.
  TVTRVariant& GetValue() override;
  TVTRAdvancedDataType GetDataType() override { return adtInteger; }

 private:
  int32_t row_number_ = 0;
};
