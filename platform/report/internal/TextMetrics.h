#pragma once
// Text measured as the renderers draw it, in pixels at 96 per inch. Needs the
// application's Qt GUI object.
#include <string>
#include <vector>

#include "platform/ui/Graphics.h"

struct TQRLineMetrics {
  double ascent = 0;
  double descent = 0;
  double height = 0;  // from one baseline to the next
};

TQRLineMetrics LineMetrics(const TFont& font);
double TextWidth(const TFont& font, const std::string& text);
// The text broken into lines no wider than `width` where it can be (a word
// longer than the width is broken inside); CR, LF and CR LF break lines too.
std::vector<std::string> WrapText(const TFont& font, const std::string& text, double width);
// The text's own lines, split at CR, LF and CR LF.
std::vector<std::string> SplitLines(const std::string& text);
