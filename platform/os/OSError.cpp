#include "platform/os/OSError.h"

#include <cstring>

EOSError::EOSError(std::string_view action, std::string_view path, int error_code)
    : Exception(std::string(action) + " \"" + std::string(path) + "\": " + SysErrorMessage(error_code)),
      error_code_(error_code) {}

std::string SysErrorMessage(int error_code) {
  char buffer[256];
  // The GNU strerror_r returns either buffer or a static text.
  const char* text = strerror_r(error_code, buffer, sizeof buffer);
  return text && *text ? text : "Unknown error " + std::to_string(error_code);
}
