#include "tests/platform/ui/support/Grab.h"

#include <QColor>
#include <QMdiSubWindow>
#include <QStyleOptionTitleBar>
#include <cstdlib>

#include "platform/ui/Form.h"
#include "platform/ui/internal/FormImpl.h"

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

QRect TitleBarPart(const TForm& child, QStyle::SubControl part) {
  QMdiSubWindow* sub_window = child.FormNative().SubWindow();
  if (sub_window == nullptr) return {};
  QStyleOptionTitleBar title;
  title.initFrom(sub_window);
  title.subControls = QStyle::SC_All;
  title.titleBarFlags = sub_window->windowFlags();
  title.titleBarState = static_cast<int>(sub_window->windowState());
  title.text = sub_window->windowTitle();
  QStyle* style = sub_window->style();
  title.rect = QRect(0, 0, sub_window->width(), style->pixelMetric(QStyle::PM_TitleBarHeight, &title, sub_window));
  return style->subControlRect(QStyle::CC_TitleBar, &title, part, sub_window);
}
