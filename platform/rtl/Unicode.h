#pragma once
// Conversions between UTF-8 and UTF-16, and the UTF-8 code point steps they
// and the code page conversions share. Malformed UTF-8 (bad sequences,
// overlong forms, surrogates, values past U+10FFFF) raises EConvertError.
#include <cstddef>
#include <string>
#include <string_view>

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);

// Decodes the code point that starts at text[position] and moves position past it.
char32_t NextUtf8CodePoint(std::string_view text, size_t& position);
// Appends the UTF-8 form of a code point (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t code_point);
