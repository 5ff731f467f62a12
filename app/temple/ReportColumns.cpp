#include "app/temple/ReportColumns.h"

#include <string>

TQRDBText& PrintedColumn(ReportWindow& window, const char* title, const char* field, int left) {
  auto& caption = *new TQRLabel(&window.ColumnHeaderBand);
  caption.SetCaption(title);
  caption.SetLeft(left);
  auto& value = *new TQRDBText(&window.DetailBand);
  value.SetName(std::string("QRDBText_") + field);
  value.SetDataSet(&window.Query1.Rows());
  value.SetDataField(field);
  value.SetLeft(left);
  return value;
}
