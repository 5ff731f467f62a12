#pragma once
// Case mapping of ASCII letters only: engine text is code page 874, where Thai
// letters have no case and every byte above 0x7F is left as it is.
#include <string_view>

constexpr char AsciiUpperChar(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// True when both texts are equal after upper-casing their ASCII letters.
constexpr bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpperChar(a[i]) != AsciiUpperChar(b[i])) return false;
  return true;
}
