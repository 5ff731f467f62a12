#include "app/core/ZeroPadding.h"

#include "platform/db/Utf8Char.h"
#include "platform/rtl/TextCase.h"

std::string PadLeftZeros(std::string_view text, int width) {
  std::string trimmed = Trim(text);
  if (trimmed.empty()) return trimmed;
  const int length = static_cast<int>(Utf8CharCount(trimmed));
  return length < width ? std::string(width - length, '0') + trimmed : trimmed;
}
