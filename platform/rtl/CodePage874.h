#pragma once
// Thai code page 874 (TIS-620 with the Windows additions at 0x80-0xA0), the
// single-byte text of the engine, and its conversion to and from UTF-8.
// Both directions are exact: a character the code page cannot hold, or a
// byte it does not define, raises EConvertError naming it.
#include <cstdint>
#include <string>
#include <string_view>

// The character of a byte; false when the code page leaves the byte undefined.
bool Cp874ToUnicode(uint8_t byte, char32_t& code_point);
// The byte of a character; false when the code page cannot hold it.
bool UnicodeToCp874(char32_t code_point, uint8_t& byte);

std::string Cp874ToUtf8(std::string_view text);
std::string Utf8ToCp874(std::string_view text);
