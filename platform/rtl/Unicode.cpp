#include "platform/rtl/Unicode.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"

namespace {

[[noreturn]] void Malformed(size_t position) {
  throw EConvertError(Format("Invalid UTF-8 text at byte %d", position));
}

}  // namespace

char32_t NextUtf8CodePoint(std::string_view text, size_t& position) {
  const auto lead = static_cast<unsigned char>(text[position]);
  char32_t c;
  int extra;
  char32_t minimum;
  if (lead < 0x80) {
    ++position;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    c = lead & 0x1F;
    extra = 1;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    c = lead & 0x0F;
    extra = 2;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    c = lead & 0x07;
    extra = 3;
    minimum = 0x10000;
  } else {
    Malformed(position);
  }
  for (int k = 1; k <= extra; ++k) {
    if (position + k >= text.size() || (static_cast<unsigned char>(text[position + k]) & 0xC0) != 0x80)
      Malformed(position);
    c = (c << 6) | (static_cast<unsigned char>(text[position + k]) & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) Malformed(position);
  position += extra + 1;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    AppendUtf8(out, c);
  }
  return out;
}

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t c = NextUtf8CodePoint(text, i);
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}
