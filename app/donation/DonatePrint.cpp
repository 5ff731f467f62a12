// The print buttons of the donation window: the print settings of sys_sys
// into the print variables, the number and title of the document, and the
// layout that the document kind and VIEW7 choose.
#include <algorithm>
#include <string>
#include <vector>

#include "app/core/myVar.h"
#include "app/donation/cdonate.h"
#include "platform/db/DB.h"

namespace {

const std::vector<std::string> kPrintSettings{" select * from sys_sys "};
constexpr std::string_view kReceipt = "0";
constexpr std::string_view kCertificate = "1";

}  // namespace

void Tdonate::Button18Click(TObject*) {
  myVar.PrintRequestKind = kReceipt;
  Print(kReceipt);
}

void Tdonate::Button19Click(TObject*) {
  myVar.PrintRequestKind = kCertificate;
  Print(kCertificate);
}

void Tdonate::Print(std::string_view kind) {
  myVar.PrintBillNo = current_number_;
  farmsys.Open({kPrintSettings, {}});
  TDataSet& settings = farmsys.Rows();
  if (!settings.IsEmpty()) {
    const auto text = [&settings](const char* column) { return settings.FieldByName(column)->AsString(); };
    const auto number = [&settings](const char* column) { return settings.FieldByName(column)->AsFloat(); };
    myVar.TaxRate = number("TAX_RATE");
    myVar.TaxStatus = text("TAX_STATUS");
    myVar.PrintLogo = text("PRN_LOGO");
    myVar.PrintPreview = text("PRN_PREVIEW");
    myVar.PrintView1 = text("VIEW1");
    myVar.PrintView2 = text("VIEW2");
    myVar.PrintView3 = text("VIEW3");
    myVar.PrintView4 = text("VIEW4");
    myVar.PrintView5 = text("VIEW5");
    myVar.PrintView7 = text("VIEW7");
    myVar.PrintTop = number("PRN_TOP");
    myVar.PrintLeft = number("PRN_LEFT");
    myVar.ComPort = text("COM_PORT");
  }
  settings.Close();
  myVar.PrintDocKind = myVar.PrintRequestKind;
  myVar.PrintDocTitle = std::string(kind == kReceipt ? kReceiptTitle : kCertificateTitle);
  const DonationLayoutKey key{myVar.PrintDocKind, myVar.PrintView7};
  const auto layout = std::find_if(layouts_.begin(), layouts_.end(), [&key](const auto& entry) { return entry.first == key; });
  if (layout != layouts_.end()) layout->second();
}
