#pragma once
// Text conversions shared by the field classes.
#include <cstdint>
#include <string>
#include <string_view>

// Whole numbers with an optional sign, blanks around them allowed.
bool ParseInteger(std::string_view text, int64_t& value);
// Decimal numbers in the fixed locale ("." separator, optional exponent); finite only.
bool ParseFloat(std::string_view text, double& value);
// Length of the UTF-8 character that starts at text[pos] (1 for a stray byte).
size_t Utf8CharLength(std::string_view text, size_t pos);
