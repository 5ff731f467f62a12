#include "engine/foundation/ValueText.h"

#include "platform/rtl/CodePage874.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"

bool WideCharToAnsi(char16_t c, uint8_t& byte) {
  // A surrogate half is no character of its own and has no byte.
  return !(c >= 0xD800 && c <= 0xDFFF) && UnicodeToCp874(c, byte);
}

std::u16string AnsiToWide(std::string_view text) {
  std::u16string wide(text.size(), u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<uint8_t>(text[i]);
    char32_t c;
    if (!Cp874ToUnicode(byte, c))
      throw EConvertError(Format("Code page 874 has no character for byte $%.2x", int{byte}));
    wide[i] = static_cast<char16_t>(c);
  }
  return wide;
}

std::string WideToAnsi(std::u16string_view text) {
  std::string ansi(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    uint8_t byte;
    if (!WideCharToAnsi(text[i], byte))
      throw EConvertError(Format("Code page 874 cannot hold the character U+%.4x", int{text[i]}));
    ansi[i] = static_cast<char>(byte);
  }
  return ansi;
}
