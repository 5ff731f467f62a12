#include "engine/foundation/cipher/StringFormatUU.h"

#include <algorithm>

#include "platform/rtl/Format.h"

namespace {

constexpr size_t kSymbolCount = 64;
constexpr size_t kPieceBytes = 45;

}  // namespace

std::string TStringFormat_UU::DecodeText(std::string_view text) const {
  const std::string_view symbols = Alphabet().substr(0, kSymbolCount);
  size_t pos = 0;
  // The value of the next symbol, skipping other characters; 0 past the end.
  auto next_value = [&]() -> uint32_t {
    while (pos < text.size()) {
      const size_t value = symbols.find(text[pos++]);
      if (value != std::string_view::npos) return uint32_t(value);
    }
    return 0;
  };
  auto symbols_left = [&]() {
    while (pos < text.size() && symbols.find(text[pos]) == std::string_view::npos) ++pos;
    return pos < text.size();
  };

  std::string bytes;
  while (symbols_left()) {
    const uint32_t count = next_value();
    if (count > kPieceBytes) {
      throw EStringFormat(Format("Input is not an valid %s Format.", DisplayName()));
    }
    for (uint32_t done = 0; done < count; done += 3) {
      uint32_t bits = 0;
      for (int i = 0; i < 4; ++i) bits = bits << 6 | next_value();
      const char decoded[3] = {char(bits >> 16), char(bits >> 8), char(bits)};
      bytes.append(decoded, std::min<size_t>(3, count - done));
    }
  }
  return bytes;
}

std::string TStringFormat_UU::EncodeText(std::string_view bytes) const {
  const std::string_view symbols = Alphabet();
  std::string text;
  text.reserve((bytes.size() / kPieceBytes + 1) * (1 + kPieceBytes / 3 * 4));
  for (size_t piece = 0; piece < bytes.size(); piece += kPieceBytes) {
    const size_t count = std::min(kPieceBytes, bytes.size() - piece);
    text.push_back(symbols[count]);
    for (size_t i = piece; i < piece + count; i += 3) {
      uint32_t bits = 0;
      for (size_t k = 0; k < 3; ++k) {
        bits <<= 8;
        if (i + k < piece + count) bits |= uint8_t(bytes[i + k]);
      }
      for (int k = 0; k < 4; ++k) text.push_back(symbols[(bits >> (18 - 6 * k)) & 63]);
    }
  }
  return text;
}

std::string_view TStringFormat_UU::DisplayName() const {
  return "UU Coding";
}
int32_t TStringFormat_UU::FormatNumber() const {
  return 21845;
}

bool TStringFormat_UU::CheckText(std::string_view input, TTextDirection direction) const {
  return direction == TTextDirection::Encode || TextUsesOnly(input, Alphabet());
}

std::string_view TStringFormat_UU::Alphabet() const {
  static const std::string alphabet = [] {
    std::string a = "`";
    for (char c = '!'; c <= '_'; ++c) a.push_back(c);
    return a + " \t\n\r";
  }();
  return alphabet;
}

std::string_view TStringFormat_XX::DisplayName() const {
  return "XX Coding";
}
int32_t TStringFormat_XX::FormatNumber() const {
  return 22616;
}

std::string_view TStringFormat_XX::Alphabet() const {
  return "+-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz \"()[]'\t\n\r";
}
