// The print buttons of the goods window: the print settings, the number and
// title of the document, and the sale layout that VIEW6 chooses.
#include <string>
#include <string_view>

#include "app/core/myVar.h"
#include "app/donation/PrintSettings.h"
#include "app/donation/PrnDO.h"
#include "app/donation/edit_fill.h"
#include "platform/ui/FormsApplication.h"

namespace {

constexpr std::string_view kDeliveryNote = "0";
constexpr std::string_view kReceipt = "1";

template <typename Layout>
void PreviewLayout() {
  FormsApplication().CreateForm<Layout>()->Preview();
}

}  // namespace

void Tedit_fill::Button18Click(TObject*) {
  myVar.PrintRequestKind = kDeliveryNote;
  PrintGoodsDocument();
}

void Tedit_fill::Button19Click(TObject*) {
  myVar.PrintRequestKind = kReceipt;
  PrintGoodsDocument();
}

void Tedit_fill::Button4Click(TObject*) {
  myVar.PrintRequestKind = kReceipt;
  PrintGoodsDocument();
}

void Tedit_fill::PrintGoodsDocument() {
  myVar.PrintBillNo = current_bill_no_;
  ReadPrintSettings(query_temp);
  if (mode_ != GoodsMode::kSale) {
    myVar.PrintDocTitle = "ใบสั่งซื้อ";
    return;
  }
  myVar.PrintDocTitle = myVar.PrintDocKind == kDeliveryNote ? "ใบส่งสินค้า" : "ใบเสร็จรับเงิน";
  if (myVar.PrintView6 == "0") {
    PreviewLayout<TPrnDO4s>();
  } else if (myVar.PrintView6 == "1" || myVar.PrintView6 == "2") {
    PreviewLayout<TPrnDO8>();
  }
}
