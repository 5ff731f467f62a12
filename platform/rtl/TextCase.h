#pragma once
// Case and blank handling of the engine's single-byte text. Only the ASCII
// letters have case; every other byte (Thai included) compares as itself.
#include <string>
#include <string_view>

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
// Byte order after folding ASCII letters: < 0, 0 or > 0.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Byte order without folding: < 0, 0 or > 0.
int CompareStr(std::string_view a, std::string_view b);

// Blanks are the bytes up to and including ' ' (spaces and control characters).
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
