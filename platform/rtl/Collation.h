#pragma once
// The collation of engine text (code page 874 bytes): Thai dictionary order,
// with ties broken by byte order so that two texts compare equal only when
// their bytes are equal. Ignoring case folds the ASCII letters only (Thai has
// no case); such a comparison is equal only when the folded bytes are.
//
// Collation stops at a zero byte inside a text; the tie-break still sees every
// byte of both texts.
#include <string_view>

// < 0, 0 or > 0 as a sorts before, with or after b.
int CollateText(std::string_view a, std::string_view b, bool ignore_case);
