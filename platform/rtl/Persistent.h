#pragma once
// An object whose state can be copied from another object by Assign.
#include "platform/rtl/Object.h"

class TPersistent : public TObject {
 public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;

  // Copies the state of source into this object. A class that does not know the
  // source asks the source to AssignTo this object; when neither knows the other
  // (or source is null) EConvertError "Cannot assign a <source> to a <this>" is raised.
  virtual void Assign(const TPersistent* source);

 protected:
  virtual void AssignTo(TPersistent* dest) const;
  [[noreturn]] void AssignError(const TPersistent* source) const;
};
