#include "app/donation/DonorSearchPage.h"

#include <array>

#include "platform/db/DB.h"

namespace {

struct SearchColumn {
  const char* item;
  const char* prompt;
  const char* column;
};

constexpr std::array<SearchColumn, 3> kColumns{{
    {"รหัสลูกค้า", "รหัสที่ต้องการค้นหา", "cust_no"},
    {"ชื่อลูกค้า", "ชื่อที่ต้องการค้นหา", "cust_name"},
    {"เบอร์โทร.", "เบอร์โทร.ที่ต้องการค้นหา", "cust_tel"},
}};
constexpr int kByName = 1;
constexpr int kByPart = 0;

}  // namespace

TDonorSearchPage::TDonorSearchPage(TComponent* owner, SqlWindowQuery& list, TDataSource* source)
    : TTabSheet(owner),
      Label45(new TLabel(this)),
      Edit1(new TEdit(this)),
      RadioGroup1(new TRadioGroup(this)),
      RadioGroup2(new TRadioGroup(this)),
      DBGrid1(new TDBGrid(this)),
      Button1(new TButton(this)),
      Button2(new TButton(this)),
      list_(list) {
  Label45->SetBounds(8, 8, 200, 16);
  Label45->SetCaption(kColumns[kByName].prompt);
  Edit1->SetBounds(8, 28, 240, 22);
  Edit1->OnKeyPress = Bind(this, &TDonorSearchPage::Edit1KeyPress);
  auto* hint = new TLabel(this);
  hint->SetBounds(256, 31, 80, 16);
  hint->SetCaption("กด ENTER");
  RadioGroup1->SetBounds(8, 58, 330, 44);
  RadioGroup1->SetCaption("  ค้นหาโดย  ");
  RadioGroup1->SetColumns(3);
  RadioGroup1->SetItems({kColumns[0].item, kColumns[1].item, kColumns[2].item});
  RadioGroup1->SetItemIndex(kByName);
  RadioGroup1->OnClick = Bind(this, &TDonorSearchPage::RadioGroup1Click);
  RadioGroup2->SetBounds(346, 58, 300, 44);
  RadioGroup2->SetCaption("  การค้นหาจาก .... รายการที่ค้นหา   ");
  RadioGroup2->SetColumns(2);
  RadioGroup2->SetItems({"ส่วนหนึ่งของข้อมูล", "ข้อมูลทั้งหมด"});
  RadioGroup2->SetItemIndex(kByPart);
  RadioGroup2->OnClick = [this](TObject*) { Edit1->SetFocus(); };
  DBGrid1->SetBounds(8, 110, 640, 300);
  DBGrid1->SetDataSource(source);
  DBGrid1->SetReadOnly(true);
  DBGrid1->SetRowSelect(true);
  for (const auto& [field, title] : {std::pair{"CUST_NO", "รหัสลูกค้า"}, std::pair{"CUST_NAME", "ชื่อลูกค้า"},
                                     std::pair{"CUST_TEL", "เบอร์โทรศัพท์"}}) {
    TColumn* column = DBGrid1->Columns().Add();
    column->SetFieldName(field);
    column->SetTitle(title);
  }
  DBGrid1->OnCellClick = Bind(this, &TDonorSearchPage::DBGrid1CellClick);
  Button1->SetBounds(346, 26, 76, 26);
  Button1->SetCaption("กลับ");
  Button1->OnClick = Bind(this, &TDonorSearchPage::Button1Click);
  Button2->SetBounds(430, 26, 120, 26);
  Button2->SetCaption("กลับเพิ่มข้อมูล");
}

const char* TDonorSearchPage::SearchColumn() const {
  return kColumns.at(static_cast<size_t>(RadioGroup1->ItemIndex())).column;
}

bool TDonorSearchPage::SearchByPart() const {
  return RadioGroup2->ItemIndex() == kByPart;
}

void TDonorSearchPage::Edit1KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  const std::string column = SearchColumn();
  if (SearchByPart()) {
    list_.Open({{" select * from customer ", " where " + column + " like :ptext ", " order by " + column + " "},
                {{"ptext", Variant("%" + Edit1->Text() + "%")}}});
    Button1->SetFocus();
    return;
  }
  const bool found = list_.Rows().Locate(column, Variant(Edit1->Text()), TLocateOptions{loCaseInsensitive});
  (found ? Button1 : Button2)->SetFocus();
}

void TDonorSearchPage::RadioGroup1Click(TObject*) {
  Label45->SetCaption(kColumns.at(static_cast<size_t>(RadioGroup1->ItemIndex())).prompt);
  Edit1->SetFocus();
}

void TDonorSearchPage::DBGrid1CellClick(TColumn*) {
  TDataSet& rows = list_.Rows();
  if (!rows.IsEmpty()) Edit1->SetText(rows.FieldByName(SearchColumn())->AsString());
}

void TDonorSearchPage::Button1Click(TObject* sender) {
  if (SearchByPart()) {
    TDataSet& rows = list_.Rows();
    const std::string number = rows.IsEmpty() ? std::string() : rows.FieldByName("cust_no")->AsString();
    list_.Open(kDonorList);
    if (!number.empty()) rows.Locate("cust_no", Variant(number), TLocateOptions{});
  }
  if (OnReturn) OnReturn(sender);
}
