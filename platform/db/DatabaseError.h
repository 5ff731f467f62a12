#pragma once
// The dataset layer's error.
#include <string>

#include "platform/rtl/Component.h"
#include "platform/rtl/Exception.h"

class EDatabaseError : public Exception {
 public:
  using Exception::Exception;
};

// Raises EDatabaseError; with a named component the message reads "Name: message".
[[noreturn]] void DatabaseError(const std::string& message, const TComponent* component = nullptr);
