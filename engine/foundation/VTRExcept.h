#pragma once
// The engine's one exception: a message for a person and a native code that
// names the place of failure. The message always ends with the code.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"

class EVTRException : public Exception {
 public:
  // Message: text, " - Native error: ", code zero-filled to five digits.
  EVTRException(int32_t native_error, std::string_view message);

  // Message: the format applied to the arguments (or the raw format followed by
  // " Arguments are invalid!" when they do not fit), " - Native error: ", code
  // right-aligned in five places.
  template <typename... Args>
  static EVTRException CreateFmt(int32_t native_error, std::string_view format, const Args&... args) {
    return FromFormat(native_error, format, {FormatArg(args)...});
  }
  static EVTRException FromFormat(int32_t native_error, std::string_view format,
                                  std::initializer_list<FormatArg> args);

  int32_t NativeError() const noexcept { return native_error_; }

 private:
  struct Formatted {};
  EVTRException(Formatted, int32_t native_error, std::string message);

  int32_t native_error_;
};
