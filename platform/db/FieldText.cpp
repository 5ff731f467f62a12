#include "platform/db/FieldText.h"

#include <charconv>
#include <cmath>

namespace {

std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

bool ParseInteger(std::string_view text, int64_t& value) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseFloat(std::string_view text, double& value) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.find_first_not_of("0123456789.-eE") != std::string_view::npos) return false;
  // from_chars never follows the machine's locale.
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

size_t Utf8CharLength(std::string_view text, size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  for (size_t i = 1; i < length; ++i) {
    if (pos + i >= text.size() || (static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return i;
  }
  return length;
}
