#pragma once
// Running numbers of documents and registers: a number + 1 padded to 6, 7 or 8 digits.
#include <string>
#include <string_view>

// The trimmed text with "0" put in front up to `width` characters; an empty
// trimmed text gives an empty text, and a longer one is not cut.
std::string PadLeftZeros(std::string_view text, int width);
