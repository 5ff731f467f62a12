#include "engine/foundation/VTRExcept.h"

EVTRException::EVTRException(int32_t native_error, std::string_view message)
    : Exception(std::string(message) + " - Native error: " + Format("%.5d", native_error)),
      native_error_(native_error) {}

EVTRException::EVTRException(Formatted, int32_t native_error, std::string message)
    : Exception(std::move(message)), native_error_(native_error) {}

EVTRException EVTRException::FromFormat(int32_t native_error, std::string_view format,
                                        std::initializer_list<FormatArg> args) {
  std::string text;
  try {
    text = FormatList(format, args);
  } catch (...) {
    // A message whose arguments do not fit its format is still raised, marked so.
    text = std::string(format) + " Arguments are invalid!";
  }
  return EVTRException(Formatted{}, native_error,
                       text + " - Native error: " + Format("%5d", native_error));
}
