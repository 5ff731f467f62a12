#include "engine/foundation/lexer/ReservedWords.h"

#include <algorithm>

#include "platform/rtl/TextCase.h"

namespace {

// Word numbers ordered by their word, for a binary search.
constexpr std::array<int16_t, kReservedWordCount> kByWord = [] {
  std::array<int16_t, kReservedWordCount> order{};
  for (int16_t n = 0; n < kReservedWordCount; ++n) order[n] = n;
  std::sort(order.begin(), order.end(),
            [](int16_t a, int16_t b) { return ReservedWordTable[a] < ReservedWordTable[b]; });
  return order;
}();

constexpr bool TableIsUnique() {
  for (std::size_t i = 1; i < kByWord.size(); ++i)
    if (ReservedWordTable[kByWord[i - 1]] == ReservedWordTable[kByWord[i]]) return false;
  return true;
}
static_assert(TableIsUnique(), "a reserved word appears twice");

constexpr bool LongestWordIsKnown() {
  std::size_t longest = 0;
  for (std::string_view word : ReservedWordTable) longest = std::max(longest, word.size());
  return longest == kLongestReservedWord;
}
static_assert(LongestWordIsKnown());

}  // namespace

int16_t FindReservedWord(std::string_view word) {
  if (word.empty() || word.size() > kLongestReservedWord) return kNotReservedWord;
  // The table's words are upper case, so their byte order is the case-folded order.
  const auto it = std::lower_bound(kByWord.begin(), kByWord.end(), word, [](int16_t n, std::string_view w) {
    return CompareText(ReservedWordTable[n], w) < 0;
  });
  if (it != kByWord.end() && SameText(ReservedWordTable[*it], word)) return *it;
  return kNotReservedWord;
}
