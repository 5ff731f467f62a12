#pragma once
// A printed column of the temple program's reports: its title in the column
// header band and the field under it in the detail band, named
// "QRDBText_" + field.

#include "app/core/ReportWindow.h"
#include "platform/report/TextItems.h"

TQRDBText& PrintedColumn(ReportWindow& window, const char* title, const char* field, int left);
