#include "app/core/DocumentPage.h"

#include "app/core/WorkingFolder.h"
#include "platform/report/GraphicItems.h"
#include "platform/report/Report.h"
#include "platform/ui/Picture.h"

void SetUpDocumentPage(TQRPage& page, double top, double left) {
  page.SetTopMargin(top);
  page.SetLeftMargin(left);
  // The page takes a negative margin as 0.
  page.SetBottomMargin(kDocumentBottomMarginBase - top);
}

void ApplyPaperMode(std::string_view mode, std::initializer_list<TQRPrintable*> form_has,
                    std::initializer_list<TQRPrintable*> always) {
  if (mode != "0" && mode != "1") return;
  for (TQRPrintable* item : form_has) item->SetEnabled(mode == "0");
  for (TQRPrintable* item : always) item->SetEnabled(true);
}

bool PlaceLogo(TQRImage& logo, std::string_view print_logo, std::initializer_list<TQRPrintable*> beside,
               int left_with_logo, int left_without_logo) {
  bool printed = print_logo != "0";
  if (printed) {
    try {
      logo.LoadFromFile(WorkingPath(kLogoFileName));
    } catch (const EInvalidGraphic&) {
      printed = false;
    }
  }
  logo.SetEnabled(printed);
  for (TQRPrintable* item : beside) item->SetLeft(printed ? left_with_logo : left_without_logo);
  return printed;
}
