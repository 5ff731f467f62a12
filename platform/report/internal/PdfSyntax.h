#pragma once
// The character classes of PDF syntax.
#include <cstring>

inline bool IsPdfWhite(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}
inline bool IsPdfDelimiter(char c) {
  return c != '\0' && std::strchr("()<>[]{}/%", c) != nullptr;
}
