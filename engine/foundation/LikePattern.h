#pragma once
// SQL LIKE: "%" matches any run of characters, "_" any one character, every
// other character itself (ASCII letters in either case when case-insensitive).
// The whole text must match; there is no escape character. A pattern rest of
// exactly "%" always matches, but an exhausted text matches only an exhausted
// pattern otherwise: '' matches '%' and not '%%'.
#include <string_view>

bool MatchLikePattern(std::string_view text, std::string_view pattern, bool case_insensitive);
bool MatchLikePatternWide(std::u16string_view text, std::u16string_view pattern, bool case_insensitive);
