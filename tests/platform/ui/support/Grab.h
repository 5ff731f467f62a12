#pragma once
// What the user sees of a window, for the tests that look at grabs.
#include <QImage>
#include <QRect>
#include <QStyle>

class TForm;

// Counts the pixels of the area that differ clearly in lightness from its top
// left pixel, which is taken as the background.
int InkedPixels(const QImage& image, QRect area);
// Where a part of its title bar (the close box, the icon) is on an MDI child's
// sub-window; empty for a form that is no MDI child or a bar without the part.
QRect TitleBarPart(const TForm& child, QStyle::SubControl part);
