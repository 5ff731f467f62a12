#pragma once
// What a picture of a window shows, for the tests that look at grabs.
#include <QImage>
#include <QRect>

// Counts the pixels of the area that differ clearly in lightness from its top
// left pixel, which is taken as the background.
int InkedPixels(const QImage& image, QRect area);
