#include "platform/rtl/CodePage874.h"

#include <array>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Unicode.h"

namespace {

// Bytes 0x80-0xFF; 0 marks a byte the code page leaves undefined.
constexpr std::array<char16_t, 128> BuildHighHalf() {
  std::array<char16_t, 128> table{};
  table[0x80 - 0x80] = 0x20AC;  // euro sign
  table[0x85 - 0x80] = 0x2026;  // horizontal ellipsis
  table[0x91 - 0x80] = 0x2018;  // quotation marks
  table[0x92 - 0x80] = 0x2019;
  table[0x93 - 0x80] = 0x201C;
  table[0x94 - 0x80] = 0x201D;
  table[0x95 - 0x80] = 0x2022;  // bullet
  table[0x96 - 0x80] = 0x2013;  // en dash
  table[0x97 - 0x80] = 0x2014;  // em dash
  table[0xA0 - 0x80] = 0x00A0;  // no-break space
  // TIS-620: Thai letters, vowels, tone marks and digits follow the Unicode
  // Thai block in order, with a gap at 0xDB-0xDE and none past 0xFB.
  for (int b = 0xA1; b <= 0xDA; ++b) table[b - 0x80] = static_cast<char16_t>(0x0E01 + (b - 0xA1));
  for (int b = 0xDF; b <= 0xFB; ++b) table[b - 0x80] = static_cast<char16_t>(0x0E3F + (b - 0xDF));
  return table;
}

constexpr std::array<char16_t, 128> kHighHalf = BuildHighHalf();

}  // namespace

bool Cp874ToUnicode(uint8_t byte, char32_t& code_point) {
  if (byte < 0x80) {
    code_point = byte;
    return true;
  }
  code_point = kHighHalf[byte - 0x80];
  return code_point != 0;
}

bool UnicodeToCp874(char32_t code_point, uint8_t& byte) {
  if (code_point < 0x80) {
    byte = static_cast<uint8_t>(code_point);
    return true;
  }
  if (code_point >= 0x0E01 && code_point <= 0x0E3A) {
    byte = static_cast<uint8_t>(0xA1 + (code_point - 0x0E01));
    return true;
  }
  if (code_point >= 0x0E3F && code_point <= 0x0E5B) {
    byte = static_cast<uint8_t>(0xDF + (code_point - 0x0E3F));
    return true;
  }
  for (int i = 0; i < 0x21; ++i) {  // the Windows additions at 0x80-0xA0
    if (kHighHalf[i] == code_point) {
      byte = static_cast<uint8_t>(0x80 + i);
      return true;
    }
  }
  return false;
}

std::string Cp874ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<uint8_t>(text[i]);
    char32_t c;
    if (!Cp874ToUnicode(byte, c))
      throw EConvertError(Format("Byte $%.2X at position %d has no character in code page 874", byte, i + 1));
    AppendUtf8(out, c);
  }
  return out;
}

std::string Utf8ToCp874(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t start = i;
    const char32_t c = NextUtf8CodePoint(text, i);
    uint8_t byte;
    if (!UnicodeToCp874(c, byte)) {
      throw EConvertError(Format("The character \"%s\" (U+%.4X) cannot be stored in code page 874",
                                 text.substr(start, i - start), static_cast<uint32_t>(c)));
    }
    out.push_back(static_cast<char>(byte));
  }
  return out;
}
