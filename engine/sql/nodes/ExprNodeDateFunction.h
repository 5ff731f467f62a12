#pragma once
// Date functions: NOW (SYSDATE, CURRENT_TIMESTAMP), CURRENT_DATE and
// CURRENT_TIME read the clock at each evaluation; TODATE (text) and TOSTRING
// (date-time) convert by an explicit format, parsed when the node is made.
#include <optional>
#include <string_view>

#include "engine/foundation/dateformat/DateFormater.h"
#include "engine/sql/nodes/ExprNode.h"

class TVTRExprNodeDateFunction : public TVTRExprNode {
 public:
  // Clock functions.
  explicit TVTRExprNodeDateFunction(TVTRExprOperator op) : TVTRExprNode(op) {}
  // TODATE and TOSTRING: the format's errors are the formatter's.
  TVTRExprNodeDateFunction(TVTRExprOperator op, TVTRExprNodePtr operand, std::string_view format);

  // TODATE gives a TIME when the day part is 0 and a DATE when the time part
  // is; NULL stays NULL. Another operator code raises 30130.
  TVTRVariant& GetValue() override;
  // Another operator code raises 30287.
  TVTRAdvancedDataType GetDataType() override;
  // TOSTRING: the longest text of its format.
  int32_t GetDataSize() override;

 private:
  std::optional<TDateFormater> formater_;
};
