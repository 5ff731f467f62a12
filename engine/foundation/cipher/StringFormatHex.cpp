#include "engine/foundation/cipher/StringFormatHex.h"

#include <algorithm>

namespace {

constexpr std::string_view kHexSeparators = "hHx()[]{},;:-_/\\*+\"'\t\n\r";
constexpr std::string_view kHexUpper = "0123456789ABCDEF";
constexpr std::string_view kHexLower = "0123456789abcdef";
constexpr std::string_view kMime64Symbols =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

int Mime64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

std::string EncodeHex(std::string_view bytes, std::string_view digits) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto b = static_cast<uint8_t>(c);
    text.push_back(digits[b >> 4]);
    text.push_back(digits[b & 15]);
  }
  return text;
}

}  // namespace

std::string TStringFormat_HEX::DecodeText(std::string_view text) const {
  std::string bytes;
  bytes.reserve(text.size() / 2);
  bool restarted = false;
  bool high = true;
  uint8_t pending = 0;
  for (const char c : text) {
    const int value = HexValue(c);
    if (value >= 0) {
      if (high) {
        pending = uint8_t(value << 4);
      } else {
        bytes.push_back(char(pending | value));
      }
      high = !high;
    } else if (!restarted && (c == 'X' || c == 'x' || c == '$')) {
      restarted = true;
      bytes.clear();
      high = true;
    }
  }
  return bytes;
}

std::string TStringFormat_HEX::EncodeText(std::string_view bytes) const {
  return EncodeHex(bytes, kHexUpper);
}
std::string_view TStringFormat_HEX::DisplayName() const {
  return "Hexadecimal";
}
int32_t TStringFormat_HEX::FormatNumber() const {
  return 16;
}

bool TStringFormat_HEX::CheckText(std::string_view input, TTextDirection direction) const {
  return direction == TTextDirection::Encode || TextUsesOnly(input, Alphabet());
}

std::string_view TStringFormat_HEX::Alphabet() const {
  static const std::string alphabet = std::string(kHexUpper) + "X$ abcdef" + std::string(kHexSeparators);
  return alphabet;
}

std::string TStringFormat_HEXL::EncodeText(std::string_view bytes) const {
  return EncodeHex(bytes, kHexLower);
}
std::string_view TStringFormat_HEXL::DisplayName() const {
  return "Hexadecimal lowercase";
}
int32_t TStringFormat_HEXL::FormatNumber() const {
  return 1016;
}

std::string_view TStringFormat_HEXL::Alphabet() const {
  static const std::string alphabet = std::string(kHexLower) + "X$ ABCDEF" + std::string(kHexSeparators);
  return alphabet;
}

// The kept symbols are padded with "=" to whole groups of four; the output
// budget is three bytes per group, less one for every "=" met, and each group
// yields at most what is left of the budget.
std::string TStringFormat_MIME64::DecodeText(std::string_view text) const {
  std::string symbols;
  symbols.reserve(text.size() + 3);
  for (const char c : text) {
    if (c == '=' || Mime64Value(c) >= 0) symbols.push_back(c);
  }
  while (symbols.size() % 4 != 0) symbols.push_back('=');

  std::string bytes;
  int64_t budget = int64_t(symbols.size()) * 3 / 4;
  bytes.reserve(size_t(budget));
  for (size_t group = 0; group < symbols.size() && budget > 0; group += 4) {
    uint32_t bits = 0;
    for (size_t i = group; i < group + 4; ++i) {
      bits <<= 6;
      if (symbols[i] == '=') {
        --budget;
      } else {
        bits |= uint32_t(Mime64Value(symbols[i]));
      }
    }
    const char decoded[3] = {char(bits >> 16), char(bits >> 8), char(bits)};
    if (budget > 0) bytes.append(decoded, size_t(std::min<int64_t>(3, budget)));
    budget -= 3;
  }
  return bytes;
}

std::string TStringFormat_MIME64::EncodeText(std::string_view bytes) const {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t bits = uint32_t(uint8_t(bytes[i])) << 16;
    if (n > 1) bits |= uint32_t(uint8_t(bytes[i + 1])) << 8;
    if (n > 2) bits |= uint8_t(bytes[i + 2]);
    for (size_t k = 0; k < 4; ++k) {
      text.push_back(k <= n ? kMime64Symbols[(bits >> (18 - 6 * k)) & 63] : '=');
    }
  }
  return text;
}

std::string_view TStringFormat_MIME64::DisplayName() const {
  return "MIME Base 64";
}
int32_t TStringFormat_MIME64::FormatNumber() const {
  return 4196;
}

std::string_view TStringFormat_MIME64::Alphabet() const {
  static const std::string alphabet = std::string(kMime64Symbols) + "= $()[]{},;:-_\\*\"'\t\n\r";
  return alphabet;
}
