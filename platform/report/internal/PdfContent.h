#pragma once
// The content stream of a page as Qt writes it: each glyph is a two-byte hex
// string shown by Tj inside BT .. ET, after the font is chosen by Tf.
#include <optional>
#include <string>
#include <string_view>

#include "platform/report/internal/PdfText.h"

// The content with every span of the page wrapped in a marked-content sequence
// that carries its actual text. Nothing when the content shows other glyphs than
// the page's spans hold, shows them another way, or cannot be read; a span whose
// glyphs lie in two text objects stays unmarked.
std::optional<std::string> MarkActualText(std::string_view content, const TPdfPageText& page);
