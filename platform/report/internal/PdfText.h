#pragma once
// Giving the text of a PDF back to its readers. Qt writes every glyph of a line
// as a text-showing operation of its own and maps glyphs back to characters
// through the font's character map. The glyphs that shaping puts in place of a
// character (Thai tone marks moved down or to the left, sara am split into
// nikhahit and sara aa, ligatures) have no way back there, so text readers lose
// or scramble them. The report engine records what it drew, each line's glyphs
// in spans with the characters they show, and marks every span in the page's
// content with its actual text (marked content with /ActualText), which text
// readers take instead of the glyphs' own. The pages look exactly as before.
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

class QTextLine;

// Glyphs drawn one after the other and the characters they show together.
struct TPdfTextSpan {
  std::vector<uint32_t> glyphs;
  QString text;
};
// The spans of a page's lines, in the order they were drawn.
using TPdfPageText = std::vector<TPdfTextSpan>;

// Appends the spans of a laid-out line of `text`, in the order QTextLine::draw
// draws its glyphs: the smallest groups of glyphs that show whole characters.
void AppendTextSpans(const QTextLine& line, const QString& text, TPdfPageText& page);

// The PDF file `pdf`, as Qt writes it, with each span of each page marked with
// its actual text, in an update appended to the file. A page whose text does not
// show the glyphs recorded for it, or a file of another make, stays as it is.
std::string WithActualText(const std::string& pdf, const std::vector<TPdfPageText>& pages);
