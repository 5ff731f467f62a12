// The print buttons of the donation window: the print settings of sys_sys
// into the print variables, the number and title of the document, and the
// layout that the document kind and VIEW7 choose.
#include <algorithm>
#include <string>

#include "app/core/myVar.h"
#include "app/donation/PrintSettings.h"
#include "app/donation/cdonate.h"

namespace {

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
  ReadPrintSettings(farmsys);
  myVar.PrintDocTitle = std::string(kind == kReceipt ? kReceiptTitle : kCertificateTitle);
  const DonationLayoutKey key{myVar.PrintDocKind, myVar.PrintView7};
  const auto layout = std::find_if(layouts_.begin(), layouts_.end(), [&key](const auto& entry) { return entry.first == key; });
  if (layout != layouts_.end()) layout->second();
}
