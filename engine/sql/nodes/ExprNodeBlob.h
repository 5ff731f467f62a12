#pragma once
// MIMETOBIN: the bytes its string constant encodes in MIME Base64, as a STRING.
#include "engine/sql/nodes/ExprNode.h"

class TVTRExprNodeBlob : public TVTRExprNode {
 public:
  explicit TVTRExprNodeBlob(TVTRExprNodePtr text);

  TVTRVariant& GetValue() override;
  TVTRAdvancedDataType GetDataType() override { return adtString; }
};
