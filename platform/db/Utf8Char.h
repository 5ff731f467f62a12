#pragma once
// UTF-8 character boundaries, as the field classes cut and report text.
#include <cstddef>
#include <string_view>

// Length of the UTF-8 character that starts at text[pos] (1 for a stray byte).
size_t Utf8CharLength(std::string_view text, size_t pos);
// The number of characters, stepping as Utf8CharLength does.
size_t Utf8CharCount(std::string_view text);
