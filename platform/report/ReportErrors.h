#pragma once
// Errors of the report forms: settings that cannot print (paper, margins) and
// expressions or groups that name what the report cannot find.
#include "platform/rtl/Exception.h"

class EQuickReportError : public Exception {
 public:
  using Exception::Exception;
};
