#include "platform/rtl/Persistent.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"

void TPersistent::Assign(const TPersistent* source) {
  if (source == nullptr) AssignError(nullptr);
  source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const {
  dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
  throw EConvertError(
      Format("Cannot assign a %s to a %s", source ? source->ClassName() : "nil", ClassName()));
}
