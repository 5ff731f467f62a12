#include "engine/foundation/LikePattern.h"

namespace {

template <typename Char>
Char Fold(Char c, bool case_insensitive) {
  return case_insensitive && c >= 'a' && c <= 'z' ? static_cast<Char>(c - 32) : c;
}

// Backtracks to the last "%" only, so the time stays within
// text length × pattern length.
template <typename Char>
bool Match(std::basic_string_view<Char> text, std::basic_string_view<Char> pattern, bool case_insensitive) {
  size_t t = 0, p = 0;
  size_t star = std::basic_string_view<Char>::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '%') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() &&
               (pattern[p] == '_' || Fold(pattern[p], case_insensitive) == Fold(text[t], case_insensitive))) {
      ++t;
      ++p;
    } else if (star != std::basic_string_view<Char>::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  const std::basic_string_view<Char> rest = pattern.substr(p);
  return rest.empty() || (rest.size() == 1 && rest[0] == '%');
}

}  // namespace

bool MatchLikePattern(std::string_view text, std::string_view pattern, bool case_insensitive) {
  return Match(text, pattern, case_insensitive);
}

bool MatchLikePatternWide(std::u16string_view text, std::u16string_view pattern, bool case_insensitive) {
  return Match(text, pattern, case_insensitive);
}
