#include "platform/report/internal/PdfContent.h"

#include "platform/report/internal/PdfSyntax.h"

#include <charconv>
#include <map>
#include <utility>
#include <vector>

namespace {

// Splits the content into its tokens, as views into it; false when a string
// does not end.
bool Tokenize(std::string_view content, std::vector<std::string_view>& tokens) {
  size_t i = 0;
  const size_t n = content.size();
  while (i < n) {
    const char c = content[i];
    if (IsPdfWhite(c)) {
      ++i;
      continue;
    }
    if (c == '%') {
      while (i < n && content[i] != '\n' && content[i] != '\r') ++i;
      continue;
    }
    const size_t begin = i;
    if (c == '(') {
      int depth = 0;
      for (; i < n; ++i) {
        if (content[i] == '\\') {
          ++i;
        } else if (content[i] == '(') {
          ++depth;
        } else if (content[i] == ')' && --depth == 0) {
          break;
        }
      }
      if (i >= n) return false;
      ++i;
    } else if ((c == '<' || c == '>') && i + 1 < n && content[i + 1] == c) {
      i += 2;
    } else if (c == '<') {
      i = content.find('>', i);
      if (i == std::string_view::npos) return false;
      ++i;
    } else if (c == '/') {
      for (++i; i < n && !IsPdfWhite(content[i]) && !IsPdfDelimiter(content[i]);) ++i;
    } else if (IsPdfDelimiter(c)) {
      ++i;
    } else {
      while (i < n && !IsPdfWhite(content[i]) && !IsPdfDelimiter(content[i])) ++i;
    }
    tokens.push_back(content.substr(begin, i - begin));
  }
  return true;
}

// A glyph shown: where its hex string starts and its Tj ends, in which text
// object and font, and its code.
struct Show {
  size_t begin;
  size_t end;
  int text_object;
  std::string_view font;
  unsigned code;
};

// The glyphs the content shows, in order; false for content that shows text
// another way than Qt does.
bool ReadShows(std::string_view content, const std::vector<std::string_view>& tokens, std::vector<Show>& shows) {
  int text_object = -1;
  std::string_view font;
  for (size_t k = 0; k < tokens.size(); ++k) {
    const std::string_view token = tokens[k];
    if (token == "BT") {
      ++text_object;
    } else if (token == "Tf" && k >= 2) {
      font = tokens[k - 2];
    } else if (token == "TJ" || token == "'" || token == "\"") {
      return false;
    } else if (token == "Tj") {
      // Qt shows each glyph by its two-byte code: "<0A1F> Tj".
      const std::string_view hex = k >= 1 ? tokens[k - 1] : std::string_view();
      if (hex.size() != 6 || hex.front() != '<') return false;
      unsigned code = 0;
      const char* digits = hex.data() + 1;
      if (std::from_chars(digits, digits + 4, code, 16).ptr != digits + 4) return false;
      const size_t begin = static_cast<size_t>(hex.data() - content.data());
      const size_t end = static_cast<size_t>(token.data() - content.data()) + token.size();
      shows.push_back({begin, end, text_object, font, code});
    }
  }
  return true;
}

// True when the shows are the spans' glyphs, one for one: within each font a
// code always stands for the same glyph and a glyph for the same code.
bool ShowsMatch(const std::vector<Show>& shows, const TPdfPageText& page) {
  std::map<std::pair<std::string_view, unsigned>, uint32_t> glyph_of;
  std::map<std::pair<std::string_view, uint32_t>, unsigned> code_of;
  size_t k = 0;
  for (const TPdfTextSpan& span : page) {
    for (uint32_t glyph : span.glyphs) {
      if (k == shows.size()) return false;
      const Show& show = shows[k++];
      const auto [by_code, new_code] = glyph_of.emplace(std::pair(show.font, show.code), glyph);
      const auto [by_glyph, new_glyph] = code_of.emplace(std::pair(show.font, glyph), show.code);
      if (by_code->second != glyph || by_glyph->second != show.code) return false;
    }
  }
  return k == shows.size();
}

// The span's text as a PDF text string: UTF-16 with its byte order mark, in hex.
std::string HexText(const QString& text) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex = "<FEFF";
  for (const QChar unit : text) {
    const char16_t value = unit.unicode();
    for (int shift = 12; shift >= 0; shift -= 4) hex += kDigits[(value >> shift) & 0xF];
  }
  return hex + ">";
}

}  // namespace

std::optional<std::string> MarkActualText(std::string_view content, const TPdfPageText& page) {
  std::vector<std::string_view> tokens;
  std::vector<Show> shows;
  if (!Tokenize(content, tokens) || !ReadShows(content, tokens, shows) || !ShowsMatch(shows, page)) {
    return std::nullopt;
  }
  std::string marked;
  size_t copied = 0;
  size_t next = 0;
  for (const TPdfTextSpan& span : page) {
    if (span.glyphs.empty()) continue;
    const Show& first = shows[next];
    const Show& last = shows[next + span.glyphs.size() - 1];
    next += span.glyphs.size();
    if (first.text_object != last.text_object) continue;
    marked.append(content, copied, first.begin - copied);
    marked += "/Span <</ActualText " + HexText(span.text) + ">> BDC ";
    marked.append(content, first.begin, last.end - first.begin);
    marked += " EMC";
    copied = last.end;
  }
  marked.append(content, copied);
  return marked;
}
