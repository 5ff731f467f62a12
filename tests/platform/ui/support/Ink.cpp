#include "tests/platform/ui/support/Ink.h"

#include <QColor>
#include <cstdlib>

int InkedPixels(const QImage& image, QRect area) {
  area &= image.rect();
  if (area.isEmpty()) return 0;
  const QColor background = image.pixelColor(area.topLeft());
  int inked = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      inked += std::abs(pixel.lightness() - background.lightness()) > 60 ? 1 : 0;
    }
  }
  return inked;
}
