#pragma once
// The class library's FormatFloat with the fixed locale.
//
// A mask has up to three sections separated by ";": positive (and the default),
// negative, zero. An empty or missing section falls back to the first one, and
// a value that rounds to zero in its section takes the zero section (or the
// first one) without a sign. Inside a section:
//   0        a digit, shown even when it is a leading or trailing zero
//   #        a digit, left out when it would be a leading or trailing zero
//   .        the decimal point (the first one; the others are ignored)
//   ,        anywhere before the point: group the integer digits by thousands
//   E+ E- e+ e-  scientific notation; the zeros that follow give the minimum
//            number of exponent digits; "+" always shows the exponent's sign
//   '..' ".."  literal text; any other character is literal too
// The value is first taken to 15 significant digits and then rounded half away
// from zero, so FormatFloat("0.00", 1.005) is "1.01". An empty mask gives the
// general format.
#include <string>
#include <string_view>

std::string FormatFloat(std::string_view mask, double value);
