#include "platform/rtl/Collation.h"

#include <thai/thcoll.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {

// Thai dictionary order restricted to ASCII text, so that ASCII keys need no
// call into libthai; it gives libthai's order exactly (a test checks this):
//   1. letters and digits, case folded, digits before letters; all other
//      characters are ignored;
//   2. the sequence of printable characters with letters and digits weighing
//      least and punctuation by its rank below;
//   3. the case of the printable characters, lower before upper.
// Control characters (below 0x20 and 0x7F) are ignored at every level.
constexpr std::string_view kPunctuationOrder = " _-,;:!?/.`^~'\"([{}])@$*\\&#%+<=>|";

struct AsciiWeights {
  std::array<uint8_t, 128> base{};         // level 1; 0 = ignored
  std::array<uint8_t, 128> punctuation{};  // level 2; 0xFF = control character
  std::array<uint8_t, 128> upper{};        // level 3; 0xFF = control character
};

constexpr AsciiWeights MakeAsciiWeights() {
  AsciiWeights w;
  for (int c = 0; c < 128; ++c) w.punctuation[c] = w.upper[c] = c < 0x20 || c == 0x7F ? 0xFF : 0;
  for (int c = '0'; c <= '9'; ++c) w.base[c] = static_cast<uint8_t>(1 + c - '0');
  for (int c = 'a'; c <= 'z'; ++c) {
    w.base[c] = w.base[c - 32] = static_cast<uint8_t>(11 + c - 'a');
    w.upper[c - 32] = 1;
  }
  for (size_t i = 0; i < kPunctuationOrder.size(); ++i)
    w.punctuation[static_cast<uint8_t>(kPunctuationOrder[i])] = static_cast<uint8_t>(1 + i);
  return w;
}

constexpr AsciiWeights kAscii = MakeAsciiWeights();

uint8_t Fold(uint8_t c, bool ignore_case) {
  return ignore_case && c >= 'a' && c <= 'z' ? c - 32 : c;
}

// Lexicographic comparison of the sequences of a's and b's weights, skipping
// characters whose weight is `skip`.
int CompareLevel(std::string_view a, std::string_view b, const std::array<uint8_t, 128>& weight,
                 uint8_t skip) {
  size_t i = 0, j = 0;
  for (;;) {
    while (i < a.size() && weight[static_cast<uint8_t>(a[i])] == skip) ++i;
    while (j < b.size() && weight[static_cast<uint8_t>(b[j])] == skip) ++j;
    if (i == a.size() || j == b.size()) return (i < a.size()) - (j < b.size());
    const int wa = weight[static_cast<uint8_t>(a[i++])], wb = weight[static_cast<uint8_t>(b[j++])];
    if (wa != wb) return wa < wb ? -1 : 1;
  }
}

int CollateAscii(std::string_view a, std::string_view b, bool ignore_case) {
  if (int r = CompareLevel(a, b, kAscii.base, 0)) return r;
  if (int r = CompareLevel(a, b, kAscii.punctuation, 0xFF)) return r;
  return ignore_case ? 0 : CompareLevel(a, b, kAscii.upper, 0xFF);
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<uint8_t>(c) < 0x80; });
}

// A zero-terminated, optionally case-folded copy for libthai; short texts stay
// on the stack. th_strcoll reads up to two bytes past the terminator of some
// texts (a leading vowel before the end), so the copy ends in several zeros:
// the extra reads stay inside the copy and see the same bytes every time.
class TerminatedCopy {
 public:
  TerminatedCopy(std::string_view text, bool ignore_case) {
    char* target = stack_;
    if (text.size() + kPadding > sizeof stack_) {
      heap_.resize(text.size() + kPadding);
      target = heap_.data();
    }
    for (size_t i = 0; i < text.size(); ++i)
      target[i] = static_cast<char>(Fold(static_cast<uint8_t>(text[i]), ignore_case));
    std::memset(target + text.size(), 0, kPadding);
    text_ = reinterpret_cast<const thchar_t*>(target);
  }
  TerminatedCopy(const TerminatedCopy&) = delete;
  TerminatedCopy& operator=(const TerminatedCopy&) = delete;
  const thchar_t* get() const { return text_; }

 private:
  static constexpr size_t kPadding = 4;
  char stack_[256];
  std::string heap_;
  const thchar_t* text_;
};

int CompareBytes(std::string_view a, std::string_view b, bool ignore_case) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const uint8_t ca = Fold(static_cast<uint8_t>(a[i]), ignore_case);
    const uint8_t cb = Fold(static_cast<uint8_t>(b[i]), ignore_case);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return (a.size() > n) - (b.size() > n);
}

std::string_view UpToZero(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

}  // namespace

int CollateText(std::string_view a, std::string_view b, bool ignore_case) {
  const int bytes = CompareBytes(a, b, ignore_case);
  if (bytes == 0) return 0;
  const std::string_view ca = UpToZero(a), cb = UpToZero(b);
  int order;
  if (IsAscii(ca) && IsAscii(cb)) {
    order = CollateAscii(ca, cb, ignore_case);
  } else {
    const TerminatedCopy ta(ca, ignore_case), tb(cb, ignore_case);
    order = th_strcoll(ta.get(), tb.get());
  }
  if (order != 0) return order < 0 ? -1 : 1;
  return bytes;
}
