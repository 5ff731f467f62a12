#pragma once
// Conversions between UTF-8 and UTF-16. Malformed UTF-8 raises EConvertError.
#include <string>

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);
