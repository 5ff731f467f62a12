#include "app/donation/Find_Donate.h"

#include <array>

#include "app/core/ThaiDateText.h"
#include "app/core/WindowParts.h"

namespace {

enum Criterion : uint8_t { kDonationDate, kBirthDate, kWholeName, kPartOfName, kPartOfProvince, kPartOfCountry };

constexpr const char* kCriterionParameter = "mFind";

const std::vector<std::string> kCriteria{"\rว.ด.ป.บริจาค",   "ว.ด.ป.เกิด",          "ชื่อผู้บริจาค",
                                         "ส่วนหนึ่งของชื่อ", "ส่วนหนึ่งของจังหวัด", "ส่วนหนึ่งของประเทศ"};

// The condition of each criterion, by its index.
const std::array<const char*, 6> kConditions{
    " and donate.bill_date = :mFind ",       " and customer.cust_birth = :mFind ",
    " and customer.cust_name = :mFind ",     " and customer.cust_name like :mFind ",
    " and customer.cust_add4 like :mFind ",  " and customer.country like :mFind "};

ReportLayout FindLayout() {
  ReportLayout layout;
  layout.shape = ReportShape::Search;
  layout.alias = "d_profit";
  layout.caption = "รายงานการบริจาค";
  layout.title = "รายงานการบริจาค";
  layout.top = 5;
  layout.left = 3;
  layout.sort_caption = "  จัดเรียงโดย  ";
  layout.sort_items = {"วันที่", "ใบสำคัญ", "ชื่อผู้บริจาค"};
  layout.statement = {" select donate.* , customer.cust_name, cust_add4, country, customer.cust_birth ",
                      " from donate, customer ", " where donate.cust_no = customer.cust_no "};
  layout.order_lines = {" order by bill_date ", " order by bill_no ", " order by cust_name "};
  layout.money_fields = {"TOTAL"};
  layout.print_buttons = {{"รายงาน", "1"}};
  return layout;
}

}  // namespace

TFind_Donate::TFind_Donate(TComponent* owner, const WindowQueryFactory& make_query)
    : DonationLinesReport(owner, FindLayout(), make_query,
                          {{"BILL_DATE", "วันที่บริจาค"},
                           {"cust_birth", "ว.ด.ป.เกิด"},
                           {"cust_name", "ชื่อผู้บริจาต"},
                           {"ACCESSORY_NAME", "รายการ"},
                           {"QTY", "จำนวน"},
                           {"UNIT_NAME", "หน่วยนับ"},
                           {"PRICE", "ราคา/หน่วย"},
                           {"TOTAL", "เป็นเงิน"},
                           {"cust_add4", "จังหวัด"},
                           {"country", "ประเทศ"}},
                          {{"ว.ด.ป.เกิด", "cust_birth", ""},
                           {"วันที่", "bill_date", ""},
                           {"รายการ", "accessory_name", ""},
                           {"จำนวน", "qty", ""},
                           {"หน่วยนับ", "UNIT_NAME", ""},
                           {"ราคาต่อหน่วย", "PRICE", kPrintedMoneyMask},
                           {"เป็นเงินทั้งสิ้น", "TOTAL", kPrintedMoneyMask},
                           {"ชื่อผู้บริจาค", "cust_name", ""}}) {
  // The criteria go first on the panel; the template's controls move right.
  constexpr int kCriteriaWidth = 560;
  for (TControl* control : std::vector<TControl*>{RadioGroup1, RunButton, &QuitButton}) {
    control->SetLeft(control->Left() + kCriteriaWidth);
  }
  for (TButton* button : PrintButtons) button->SetLeft(button->Left() + kCriteriaWidth);
  Label1 = &MakeLabel(*this, "Label1", "ว.ด.ป.", 8, 8, 120, &Panel1);
  Picker1 = &MakeControl<TDateTimePicker>(*this, "Picker1", 8, 28, 120, 25, &Panel1);
  Picker1->OnCloseUp = [this](TObject*) { Run(); };
  Label2 = &MakeLabel(*this, "Label2", "ชื่อผู้บริจาค", 136, 8, 160, &Panel1);
  Edit1 = &MakeControl<TEdit>(*this, "Edit1", 136, 28, 160, 25, &Panel1);
  Edit1->OnKeyPress = Bind(this, &TFind_Donate::Edit1KeyPress);
  RadioGroup2 = &MakeControl<TRadioGroup>(*this, "RadioGroup2", 304, 2, 250, 92, &Panel1);
  RadioGroup2->SetCaption("  ค้นหาโดย  ");
  RadioGroup2->SetColumns(3);
  RadioGroup2->SetItems(kCriteria);
  RadioGroup2->SetItemIndex(kDonationDate);
  RadioGroup2->OnClick = Bind(this, &TFind_Donate::RadioGroup2Click);
  OnCreate = Bind(this, &TFind_Donate::FormCreate);
}

void TFind_Donate::FormCreate(TObject* sender) {
  ReportWindow::FormCreate(sender);
  Picker1->SetDate(Date());
  // A new order applies at the next run.
  RadioGroup1->OnClick = nullptr;
}

void TFind_Donate::AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) {
  const int criterion = RadioGroup2->ItemIndex();
  if (criterion < 0) return;
  lines.push_back(kConditions.at(criterion));
  switch (criterion) {
    case kDonationDate:
      parameters.push_back({kCriterionParameter, Variant::Date(Picker1->Date())});
      break;
    case kBirthDate:
      parameters.push_back({kCriterionParameter, Variant(DateToThaiText(Picker1->Date()))});
      break;
    case kWholeName:
      parameters.push_back({kCriterionParameter, Variant(Edit1->Text())});
      break;
    default:
      parameters.push_back({kCriterionParameter, Variant("%" + Edit1->Text() + "%")});
      break;
  }
}

void TFind_Donate::RadioGroup2Click(TObject*) {
  const int criterion = RadioGroup2->ItemIndex();
  Edit1->Clear();
  if (criterion == kDonationDate || criterion == kBirthDate) {
    Picker1->SetFocus();
    return;
  }
  Label2->SetCaption(criterion == kWholeName ? "ชื่อผู้บริจาค" : kCriteria.at(criterion));
  Edit1->SetFocus();
}

void TFind_Donate::Edit1KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  RunButton->SetFocus();
}
