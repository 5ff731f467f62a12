#include "platform/rtl/TextCase.h"

#include <algorithm>

namespace {

unsigned char FoldUpper(unsigned char c) {
  return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
}
unsigned char FoldLower(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}
bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(FoldUpper(static_cast<unsigned char>(c)));
  return out;
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(FoldLower(static_cast<unsigned char>(c)));
  return out;
}

int CompareText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int d = FoldUpper(static_cast<unsigned char>(a[i])) - FoldUpper(static_cast<unsigned char>(b[i]));
    if (d != 0) return d;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

int CompareStr(std::string_view a, std::string_view b) {
  return a.compare(b);
}

std::string Trim(std::string_view text) {
  return TrimLeft(TrimRight(text));
}

std::string TrimLeft(std::string_view text) {
  const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
  return std::string(first, text.end());
}

std::string TrimRight(std::string_view text) {
  const auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlank);
  return std::string(text.begin(), last.base());
}
