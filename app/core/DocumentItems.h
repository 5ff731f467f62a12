#pragma once
// The items that the printed documents build in code: page-wide bands,
// captions placed on a band, and horizontal rules.
#include <string>

#include "platform/report/QuickRpt.h"

TQRBand* MakeDocumentBand(TQuickRep& report, const char* name, TQRBandType type, int height);
TQRLabel* MakeDocumentLabel(TQRBand* band, const char* name, std::string caption, int left, int top);
TQRShape* MakeDocumentRule(TQRBand* band, const char* name, int left, int top, int width);
