#pragma once
// A failed operating-system call. The message names the operation, the file
// and the system's text for the error; the error number stays available.
#include <string>
#include <string_view>

#include "platform/rtl/Exception.h"

class EOSError : public Exception {
 public:
  // Message: `action` "path": system text, e.g. Cannot open file "/x": No such file or directory.
  EOSError(std::string_view action, std::string_view path, int error_code);

  int ErrorCode() const noexcept { return error_code_; }

 private:
  int error_code_;
};

// The system's text for an error number (strerror), never empty.
std::string SysErrorMessage(int error_code);
