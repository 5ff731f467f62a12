#include "engine/sql/nodes/ExprNodeConst.h"

TVTRExprNodeConst::TVTRExprNodeConst(TVTRVariant value) : TVTRExprNode(eoNone) {
  result_ = std::move(value);
}

TVTRAdvancedDataType TVTRExprNodeConst::GetDataType() {
  return BaseTypeToAdvancedType(result_.DataType());
}

int32_t TVTRExprNodeConst::GetDataSize() {
  if (result_.IsNull() || !result_.IsString()) return 0;
  return result_.Size() - (result_.IsWideString() ? 2 : 1);
}

TVTRExprNodeConst* AsConstant(TVTRExprNode& node) {
  return dynamic_cast<TVTRExprNodeConst*>(&node);
}
