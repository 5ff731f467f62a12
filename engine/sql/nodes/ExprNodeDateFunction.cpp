#include "engine/sql/nodes/ExprNodeDateFunction.h"

#include <cmath>

#include "engine/foundation/VTRExcept.h"
#include "engine/sql/nodes/TextValues.h"
#include "platform/rtl/DateTime.h"

TVTRExprNodeDateFunction::TVTRExprNodeDateFunction(TVTRExprOperator op, TVTRExprNodePtr operand,
                                                   std::string_view format)
    : TVTRExprNode(op), formater_(std::in_place, format) {
  AppendOperand(std::move(operand));
}

TVTRVariant& TVTRExprNodeDateFunction::GetValue() {
  switch (Operator()) {
    case eoNow:
      result_.Clear(bdtDateTime);
      result_.SetAsDateTime(Now());
      break;
    case eoCurrentDate:
      result_.Clear(bdtDate);
      result_.SetAsDate(Date());
      break;
    case eoCurrentTime:
      result_.Clear(bdtTime);
      result_.SetAsTime(Time());
      break;
    case eoToDate: {
      const TVTRVariant& text = Operand(0).GetValue();
      if (text.IsNull()) {
        result_.Clear();
        break;
      }
      const TDateTime value = formater_->ParseDateTime(text.GetAsString());
      const double day = std::trunc(value);
      result_.Clear(day == 0 ? bdtTime : value == day ? bdtDate : bdtDateTime);
      result_.SetAsDateTime(value);
      break;
    }
    case eoToString: {
      const TVTRVariant& moment = Operand(0).GetValue();
      if (moment.IsNull())
        result_.Clear(bdtString);
      else
        SetTextValue(result_, formater_->FormatDateTime(moment.GetAsDateTime()));
      break;
    }
    default:
      throw EVTRException::CreateFmt(30130, "Unknown operator: '%s'", GetOperatorName(Operator()));
  }
  return result_;
}

TVTRAdvancedDataType TVTRExprNodeDateFunction::GetDataType() {
  switch (Operator()) {
    case eoNow:
      return adtDateTime;
    case eoCurrentDate:
      return adtDate;
    case eoCurrentTime:
      return adtTime;
    case eoToDate:
      return formater_->GetResultDataType();
    case eoToString:
      return adtString;
    default:
      throw EVTRException::CreateFmt(30287, "Unknown operator: '%s'", GetOperatorName(Operator()));
  }
}

int32_t TVTRExprNodeDateFunction::GetDataSize() {
  return Operator() == eoToString ? formater_->GetResultLength() : 0;
}
