#include "platform/rtl/FormatFloat.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/rtl/FloatText.h"
#include "platform/rtl/FormatSettings.h"

namespace {

// Numbers with more integer digits than this show in the general format.
constexpr int kMaxFixedIntegerDigits = 18;

struct Token {
  enum class Kind { kIntegerDigit, kPoint, kFractionDigit, kExponent, kLiteral } kind;
  std::string_view text;  // kLiteral: the text; kExponent: the letter
};

struct Section {
  std::vector<Token> tokens;
  int integer_places = 0;
  int fraction_places = 0;
  int min_integer_digits = 0;   // from the first "0" before the point
  int min_fraction_digits = 0;  // up to the last "0" after the point
  bool thousands = false;
  bool scientific = false;
  bool exponent_sign_always = false;
  int exponent_digits = 0;
  bool has_placeholders() const { return integer_places + fraction_places > 0; }
};

// Splits at ";" outside quotes; at most three sections.
std::vector<std::string_view> SplitSections(std::string_view mask) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < mask.size() && sections.size() < 2; ++i) {
    const char c = mask[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(mask.substr(start, i - start));
      start = i + 1;
    }
  }
  std::string_view last = mask.substr(start);
  if (sections.size() == 2) last = last.substr(0, last.find(';'));
  sections.push_back(last);
  return sections;
}

Section ParseSection(std::string_view text) {
  Section s;
  bool after_point = false;
  int first_integer_zero = -1;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if ((c == '0' || c == '#') && !s.scientific) {
      if (after_point) {
        ++s.fraction_places;
        if (c == '0') s.min_fraction_digits = s.fraction_places;
        s.tokens.push_back({Token::Kind::kFractionDigit, {}});
      } else {
        if (c == '0' && first_integer_zero < 0) first_integer_zero = s.integer_places;
        ++s.integer_places;
        s.tokens.push_back({Token::Kind::kIntegerDigit, {}});
      }
    } else if (c == '.' && !s.scientific) {
      if (!after_point) s.tokens.push_back({Token::Kind::kPoint, {}});
      after_point = true;
    } else if (c == ',' && !s.scientific) {
      if (!after_point) s.thousands = true;
    } else if ((c == 'E' || c == 'e') && !s.scientific && i + 1 < text.size() &&
               (text[i + 1] == '+' || text[i + 1] == '-')) {
      s.scientific = true;
      s.exponent_sign_always = text[i + 1] == '+';
      s.tokens.push_back({Token::Kind::kExponent, text.substr(i, 1)});
      i += 2;
      for (; i < text.size() && text[i] == '0'; ++i) ++s.exponent_digits;
      --i;
    } else if (c == '\'' || c == '"') {
      const size_t close = text.find(c, i + 1);
      const size_t end = close == std::string_view::npos ? text.size() : close;
      s.tokens.push_back({Token::Kind::kLiteral, text.substr(i + 1, end - i - 1)});
      i = end;
    } else {
      s.tokens.push_back({Token::Kind::kLiteral, text.substr(i, 1)});
    }
  }
  if (first_integer_zero >= 0) s.min_integer_digits = s.integer_places - first_integer_zero;
  if (s.exponent_digits > 4) s.exponent_digits = 4;
  return s;
}

char DigitAt(const DecimalDigits& d, int index) {
  return index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[index] : '0';
}

struct Digits {
  std::string integer;
  std::string fraction;
  int exponent = 0;
  bool zero = false;
};

// The digits a section shows for the magnitude of `value`; sets
// `fixed_overflow` instead when the value is too large for fixed notation.
Digits SectionDigits(const Section& s, const DecimalDigits& value, bool& fixed_overflow) {
  Digits out;
  fixed_overflow = false;
  DecimalDigits rounded;
  int integer_count;
  if (s.scientific) {
    const int significant = s.integer_places + s.fraction_places;
    rounded = RoundDecimalDigits(value, significant - value.exponent);
    out.exponent = rounded.digits.empty() ? 0 : rounded.exponent - s.integer_places;
    integer_count = rounded.digits.empty() ? 0 : s.integer_places;
    for (int k = 0; k < s.fraction_places; ++k) out.fraction.push_back(DigitAt(rounded, integer_count + k));
  } else {
    rounded = RoundDecimalDigits(value, s.fraction_places);
    if (rounded.exponent > kMaxFixedIntegerDigits) {
      fixed_overflow = true;
      return out;
    }
    integer_count = rounded.exponent > 0 ? rounded.exponent : 0;
    for (int k = 0; k < s.fraction_places; ++k)
      out.fraction.push_back(DigitAt(rounded, rounded.exponent + k));
  }
  for (int k = 0; k < integer_count; ++k) out.integer.push_back(DigitAt(rounded, k));
  if (static_cast<int>(out.integer.size()) < s.min_integer_digits)
    out.integer.insert(0, s.min_integer_digits - out.integer.size(), '0');
  while (static_cast<int>(out.fraction.size()) > s.min_fraction_digits && out.fraction.back() == '0')
    out.fraction.pop_back();
  out.zero = rounded.digits.empty();
  return out;
}

void AppendIntegerDigits(std::string& out, const Section& s, const std::string& digits, int from, int to) {
  const int count = static_cast<int>(digits.size());
  for (int q = from; q < to; ++q) {
    out.push_back(digits[q]);
    const int remaining = count - 1 - q;
    if (s.thousands && remaining > 0 && remaining % 3 == 0) out.push_back(kFormatSettings.ThousandSeparator);
  }
}

std::string Render(const Section& s, const Digits& d) {
  std::string out;
  const int count = static_cast<int>(d.integer.size());
  int placeholder = 0;
  size_t fraction_index = 0;
  bool integer_done = s.integer_places > 0;  // with no integer placeholder the digits go before the point
  for (const Token& t : s.tokens) {
    switch (t.kind) {
      case Token::Kind::kIntegerDigit: {
        // Placeholders take the digits right-aligned; the first also takes any excess.
        const int position = count - s.integer_places + placeholder;
        AppendIntegerDigits(out, s, d.integer, placeholder == 0 ? 0 : std::max(position, 0),
                            std::max(position + 1, 0));
        ++placeholder;
        break;
      }
      case Token::Kind::kPoint:
        if (!integer_done) {
          AppendIntegerDigits(out, s, d.integer, 0, count);
          integer_done = true;
        }
        if (!d.fraction.empty()) out.push_back(kFormatSettings.DecimalSeparator);
        break;
      case Token::Kind::kFractionDigit:
        if (fraction_index < d.fraction.size()) out.push_back(d.fraction[fraction_index]);
        ++fraction_index;
        break;
      case Token::Kind::kExponent: {
        out.append(t.text);
        if (d.exponent < 0)
          out.push_back('-');
        else if (s.exponent_sign_always)
          out.push_back('+');
        std::string digits = std::to_string(std::abs(d.exponent));
        if (static_cast<int>(digits.size()) < s.exponent_digits)
          digits.insert(0, s.exponent_digits - digits.size(), '0');
        out += digits;
        break;
      }
      case Token::Kind::kLiteral:
        out.append(t.text);
        break;
    }
  }
  return out;
}

}  // namespace

std::string FormatFloat(std::string_view mask, double value) {
  if (mask.empty() || !std::isfinite(value)) return FloatToGeneralText(value, 15);
  const std::vector<std::string_view> sections = SplitSections(mask);
  auto section_or_first = [&](size_t index) {
    return index < sections.size() && !sections[index].empty() ? sections[index] : sections[0];
  };
  const DecimalDigits digits = ToDecimalDigits(value, 15);
  const bool is_zero = digits.digits.empty();
  const bool own_negative_section =
      !is_zero && digits.negative && sections.size() > 1 && !sections[1].empty();
  Section section =
      ParseSection(is_zero ? section_or_first(2) : (own_negative_section ? sections[1] : sections[0]));
  if (!section.has_placeholders()) return Render(section, {});

  bool fixed_overflow;
  Digits shown = SectionDigits(section, digits, fixed_overflow);
  if (fixed_overflow) return FloatToGeneralText(value, 15);
  if (shown.zero && !is_zero) {
    section = ParseSection(section_or_first(2));
    shown = SectionDigits(section, DecimalDigits{}, fixed_overflow);
    return Render(section, shown);
  }
  std::string text = Render(section, shown);
  if (!is_zero && digits.negative && !own_negative_section) text.insert(0, 1, '-');
  return text;
}
