#include "app/donation/rsale_gift.h"

#include "app/donation/CalculatedFields.h"
#include "platform/db/DB.h"

namespace {

ReportLayout SaleGiftLayout() {
  ReportLayout layout;
  layout.shape = ReportShape::Period;
  layout.alias = "d_profit";
  layout.caption = "  รายงานการจำหน่าย และการรับของที่ระลึก";
  layout.title = "รายงานการจำหน่าย และการรับของที่ระลึก";
  layout.top = 5;
  layout.left = 10;
  // The souvenir choice takes the place of the sort choice.
  layout.sort_caption = "  ประเภทการรับของที่ระลึก    ";
  layout.sort_items = {kGiftNotReceived, kGiftReceived};
  layout.statement = {" select g_sale_2.bill_no, g_sale_2.bill_date, g_sale_2.cust_no ,  outstock.*  from  g_sale_2 , "
                      "outstock where g_sale_2.bill_no = outstock.bill_no ",
                      " and (g_sale_2.bill_date between :mBegin and :mEnd) "};
  layout.money_fields = {"TOTAL_1"};
  layout.print_buttons = {{"รายงาน", "1"}, {"รายงานสรุป", "2"}};
  return layout;
}

constexpr int kNameSize = 100;
constexpr int kGiftTextSize = 20;

}  // namespace

Trsale_gift::Trsale_gift(TComponent* owner, const WindowQueryFactory& make_query)
    : GoodsLinesReport(owner, SaleGiftLayout(), make_query, "mcust_name", "mfg_gift"),
      Query_Temp(*(lookup_ = make_query(*this, Layout().alias))),
      customer_names_(Query_Temp, {" select cust_name from customer ", " where cust_no = :mcust_no "}, "mcust_no", 0) {
  OnCreate = [this](TObject* sender) {
    FormCreate(sender);
    // The souvenir choice applies at the next run.
    RadioGroup1->OnClick = nullptr;
  };
}

Trsale_gift::~Trsale_gift() = default;

void Trsale_gift::AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>&) {
  customer_names_.Forget();
  lines.push_back(std::string(" and fg_gift = \"") + (RadioGroup1->ItemIndex() == 1 ? "1" : "0") + "\" ");
  lines.push_back(" order by outstock.bill_no ");
}

void Trsale_gift::AddOwnCalculatedFields() {
  cust_no_ = Query1.Rows().FieldByName("cust_no");
  fg_gift_ = Query1.Rows().FieldByName("FG_GIFT");
  mcust_name_ = &AddCalculatedField(Query1.Rows(), *this, "mcust_name", kNameSize);
  mfg_gift_ = &AddCalculatedField(Query1.Rows(), *this, "mfg_gift", kGiftTextSize);
}

void Trsale_gift::CalculateRow() {
  mcust_name_->SetAsString(customer_names_.Find(cust_no_->AsString()));
  const std::string flag = fg_gift_->AsString();
  mfg_gift_->SetAsString(flag == "0" ? kGiftNotReceived : flag == "1" ? kGiftReceived : "");
}
