#include "engine/foundation/dateformat/DateFormatTokens.h"

#include <algorithm>

#include "platform/rtl/TextCase.h"

namespace {

constexpr std::size_t kLongestWord = 5;

// The kind of the longest format word at the start of the text, or dftLiteral.
std::pair<TDateFormatType, std::size_t> MatchWord(std::string_view text) {
  for (std::size_t length = std::min(kLongestWord, text.size()); length > 0; --length) {
    const std::string_view candidate = text.substr(0, length);
    for (std::size_t kind = 0; kind < DateFormatTokenNames.size(); ++kind)
      if (SameText(candidate, DateFormatTokenNames[kind]))
        return {static_cast<TDateFormatType>(kind), length};
  }
  return {dftLiteral, 0};
}

}  // namespace

std::vector<TDateFormatToken> ParseDateFormat(std::string_view format) {
  std::vector<TDateFormatToken> tokens;
  std::string literal;
  const auto close_literal = [&] {
    if (!literal.empty()) tokens.push_back({dftLiteral, std::move(literal)});
    literal.clear();
  };
  std::size_t pos = 0;
  while (pos < format.size()) {
    const char c = format[pos];
    if (c == '\'' || c == '"') {
      close_literal();
      const std::size_t end = std::min(format.find(c, pos + 1), format.size());
      literal = format.substr(pos + 1, end - pos - 1);
      close_literal();
      pos = end + 1;
      continue;
    }
    const auto [kind, length] = MatchWord(format.substr(pos));
    if (kind == dftLiteral) {
      literal += c;
      ++pos;
    } else {
      close_literal();
      tokens.push_back({kind, std::string(format.substr(pos, length))});
      pos += length;
    }
  }
  close_literal();
  return tokens;
}
