// The usage voucher window's hand-over to its printout.
#include <string>

#include "app/core/myVar.h"
#include "app/temple/add_edit.h"
#include "platform/db/Field.h"

namespace {

// The title of a usage voucher; DocTitleChoice outside "0" to "2" keeps the
// title as it was.
void ChooseUsageVoucherTitle() {
  const std::string& choice = myVar.DocTitleChoice;
  if (choice == "0" || choice == "1") {
    myVar.PrintDocTitle = myVar.VatRate > 0 ? "ใบใช้บริการ / ใบกำกับภาษี" : "ใบใช้บริการ / ใบเสร็จรับเงิน";
  } else if (choice == "2") {
    myVar.PrintDocTitle = "ใบเสร็จรับเงิน ";
  }
}

}  // namespace

void Tadd_edit::Button13Click(TObject*) {
  PrintVoucher("0");
}

void Tadd_edit::PrintVoucher(const std::string& kind) {
  myVar.PrintBillNo = VoucherNumber;
  query_temp.Open({{" select * from sys_sys "}, {}});
  TDataSet& settings = query_temp.Rows();
  if (!settings.IsEmpty()) {
    const auto text = [&settings](const char* column) { return settings.FieldByName(column)->AsString(); };
    myVar.PrintBusinessType = text("type_business");
    myVar.TaxRate = settings.FieldByName("tax_rate")->AsFloat();
    myVar.TaxStatus = text("tax_status");
    myVar.PrintLogo = text("prn_logo");
    myVar.PrintPreview = text("prn_preview");
    myVar.PrintView1 = text("view1");
    myVar.PrintView2 = text("view2");
    myVar.PrintView3 = text("view3");
    myVar.PrintTop = settings.FieldByName("prn_top")->AsFloat();
    myVar.PrintLeft = settings.FieldByName("prn_left")->AsFloat();
    myVar.ComPort = text("com_port");
  }
  if (kind == "0") {
    myVar.PrintDocKind = "0";
    ChooseUsageVoucherTitle();
  }
}
