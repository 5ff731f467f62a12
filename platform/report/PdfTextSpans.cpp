#include <QGlyphRun>
#include <QTextLine>
#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/report/internal/PdfText.h"

namespace {

struct DrawnGlyph {
  uint32_t index;
  QPointF position;
  // The characters [first, last) whose glyphs it is among; empty until known.
  int first = 0;
  int last = 0;
};

// The glyphs that show the characters [from, from + length) of the line, or all
// of them, in the order they are drawn.
std::vector<DrawnGlyph> DrawnGlyphs(const QTextLine& line, int from = -1, int length = -1) {
  std::vector<DrawnGlyph> glyphs;
  for (const QGlyphRun& run : line.glyphRuns(from, length)) {
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype i = 0; i < indexes.size(); ++i) glyphs.push_back({indexes[i], positions[i]});
  }
  return glyphs;
}

bool SameGlyph(const DrawnGlyph& a, const DrawnGlyph& b) {
  return a.index == b.index && std::abs(a.position.x() - b.position.x()) < 0.01 &&
         std::abs(a.position.y() - b.position.y()) < 0.01;
}

// The words of the line and its blanks, one by one, as [first, last) ranges.
// Readers break words where the boxes of characters leave gaps, which a shifted
// mark may leave inside a word: a word is taken whole.
std::vector<std::pair<int, int>> WordsAndBlanks(const QString& text) {
  std::vector<std::pair<int, int>> pieces;
  for (int first = 0, last = 0; first < text.size(); first = last) {
    last = first + 1;
    if (!text[first].isSpace()) {
      while (last < text.size() && !text[last].isSpace()) ++last;
    }
    pieces.emplace_back(first, last);
  }
  return pieces;
}

// Gives every glyph of the line the characters of the pieces whose glyphs it is
// among; false when a glyph belongs to none.
bool AssignCharacters(const QTextLine& line, const QString& text, std::vector<DrawnGlyph>& glyphs) {
  for (const auto& [first, last] : WordsAndBlanks(text)) {
    for (const DrawnGlyph& part : DrawnGlyphs(line, first, last - first)) {
      const auto found = std::find_if(glyphs.begin(), glyphs.end(),
                                      [&](const DrawnGlyph& glyph) { return SameGlyph(glyph, part); });
      if (found == glyphs.end()) continue;
      found->first = found->first == found->last ? first : std::min(found->first, first);
      found->last = std::max(found->last, last);
    }
  }
  return std::none_of(glyphs.begin(), glyphs.end(),
                      [](const DrawnGlyph& glyph) { return glyph.first == glyph.last; });
}

// Splits the glyphs, in drawing order, into the shortest runs whose characters no
// other run shows; `starts` gets the first character of each run.
std::vector<TPdfTextSpan> Runs(const std::vector<DrawnGlyph>& glyphs, std::vector<int>& starts) {
  std::vector<TPdfTextSpan> runs;
  for (size_t begin = 0; begin < glyphs.size();) {
    int first = glyphs[begin].first;
    int last = glyphs[begin].last;
    size_t end = begin + 1;
    for (size_t k = end; k < glyphs.size(); ++k) {
      if (glyphs[k].first >= last || glyphs[k].last <= first) continue;
      for (; end <= k; ++end) {
        first = std::min(first, glyphs[end].first);
        last = std::max(last, glyphs[end].last);
      }
    }
    TPdfTextSpan run;
    for (size_t i = begin; i < end; ++i) run.glyphs.push_back(glyphs[i].index);
    runs.push_back(std::move(run));
    starts.push_back(first);
    begin = end;
  }
  return runs;
}

}  // namespace

void AppendTextSpans(const QTextLine& line, const QString& text, TPdfPageText& page) {
  std::vector<DrawnGlyph> glyphs = DrawnGlyphs(line);
  if (glyphs.empty()) return;
  std::vector<int> starts;
  std::vector<TPdfTextSpan> spans;
  if (AssignCharacters(line, text, glyphs)) spans = Runs(glyphs, starts);
  // A line whose runs do not follow its characters (right to left) is one span.
  if (spans.empty() || starts.front() != 0 || !std::is_sorted(starts.begin(), starts.end())) {
    TPdfTextSpan whole;
    for (const DrawnGlyph& glyph : glyphs) whole.glyphs.push_back(glyph.index);
    whole.text = text;
    page.push_back(std::move(whole));
    return;
  }
  // Characters without glyphs of their own go with the span before them.
  for (size_t i = 0; i < spans.size(); ++i) {
    const int end = i + 1 < spans.size() ? starts[i + 1] : static_cast<int>(text.size());
    spans[i].text = text.mid(starts[i], end - starts[i]);
    page.push_back(std::move(spans[i]));
  }
}
