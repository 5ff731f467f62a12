#include "engine/sql/nodes/ExprNodeSystem.h"

#include "engine/foundation/VTRExcept.h"

TVTRVariant& TVTRExprNodeSystem::GetValue() {
  if (Operator() != eoRowNum)
    throw EVTRException::CreateFmt(30338, "Unknown operator: '%s'", GetOperatorName(Operator()));
  result_.SetAsInteger(++row_number_);
  return result_;
}
