#include "app/donation/Rep_Donate_Filter.h"

#include "app/core/WindowParts.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"

namespace {

constexpr int kByNumber = 0;
constexpr int kByPartOfName = 1;
constexpr int kAllPurposes = 2;
constexpr const char* kPurposeParameter = "mPurpose";

ReportLayout DonationByPurposeLayout() {
  ReportLayout layout;
  layout.shape = ReportShape::Period;
  layout.alias = "d_profit";
  layout.caption = "รายงานการบริจาค แยกตามวัตถุประสงค์";
  layout.title = "รายงานการบริจาค แยกตามวัตถุประสงค์";
  layout.top = 3;
  layout.left = 3;
  layout.sort_caption = "  จัดเรียงโดย  ";
  layout.sort_items = {"วันที่", "ใบสำคัญ", "ชื่อบริจาค", "ประเภท"};
  layout.statement = {" select * from donate  ", " where (bill_date between :mBegin and :mEnd) "};
  layout.order_lines = {" order by bill_date ", " order by bill_no ", " order by accessory_name ",
                        " order by accessory_type , accessory_no "};
  layout.money_fields = {"TOTAL"};
  layout.print_buttons = {{"รายงาน", "1"}};
  layout.csv_name = "รายการบริจาคตามวัตถุประสงค์";
  return layout;
}

QueryStatement PurposeList() {
  return {{" select accessory_no, accessory_name from m_donate ", " order by accessory_name "}, {}};
}

}  // namespace

TRep_Donate_Filter::TRep_Donate_Filter(TComponent* owner, const WindowQueryFactory& make_query)
    : DonationLinesReport(owner, DonationByPurposeLayout(), make_query,
                          {{"BILL_NO", "เลขใบสำคัญ"},
                           {"BILL_DATE", "วันที่"},
                           {"ACCESSORY_NO", "รหัส"},
                           {"ACCESSORY_NAME", "วัตถุประสงค์"},
                           {"QTY", "จำนวน"},
                           {"UNIT_NAME", "หน่วยนับ"},
                           {"PRICE", "ราคา/หน่วย"},
                           {"TOTAL", "เป็นเงิน"}},
                          {{"เลขใบสำคัญ", "bill_no", ""},
                           {"วันที่", "bill_date", ""},
                           {"รายการ", "accessory_name", ""},
                           {"จำนวน", "qty", ""},
                           {"หน่วยนับ", "UNIT_NAME", ""},
                           {"ราคาต่อหน่วย", "PRICE", kPrintedMoneyMask},
                           {"เป็นเงินทั้งสิ้น", "TOTAL", kPrintedMoneyMask}}),
      Q_Project(*(purposes_ = make_query(*this, Layout().alias))),
      DataSource2(new TDataSource(this)) {
  ExportButton->SetCaption("EXPORT CSV");
  // The period and the order wait for the run.
  Picker1->OnCloseUp = nullptr;
  Picker2->OnCloseUp = nullptr;

  const int left = RadioGroup1->Left() + RadioGroup1->Width() + 8;
  RadioGroup2 = &MakeControl<TRadioGroup>(*this, "RadioGroup2", left, 2, 150, 92, &Panel1);
  RadioGroup2->SetCaption("  ค้นหาจากวัตถุประสงค์จาก    ");
  RadioGroup2->SetItems({"รหัส", "ส่วนของชื่อ", "ดูทั้งหมด"});
  RadioGroup2->SetItemIndex(kAllPurposes);
  RadioGroup2->OnClick = Bind(this, &TRep_Donate_Filter::FilterClick);
  MakeLabel(*this, "Label1", "ข้อมูลที่ต้องการค้นหา", left + 158, 8, 160, &Panel1);
  Edit1 = &MakeControl<TEdit>(*this, "Edit1", left + 158, 28, 160, 25, &Panel1);
  Edit1->OnKeyPress = Bind(this, &TRep_Donate_Filter::Edit1KeyPress);
  Button1 = &MakeControl<TButton>(*this, "Button1", left + 158, 60, 80, 25, &Panel1);
  Button1->SetCaption("ค้นหา");
  Button1->OnClick = Bind(this, &TRep_Donate_Filter::Button1Click);
  for (TButton* button : PrintButtons) button->SetLeft(button->Left() + 330);
  ExportButton->SetLeft(ExportButton->Left() + 330);
  QuitButton.SetLeft(QuitButton.Left() + 330);

  find = &MakeControl<TTabSheet>(*this, "find", 0, 0, 0, 0, &PageControl1);
  find->SetPageControl(&PageControl1);
  find->SetTabVisible(false);
  Button2 = &MakeControl<TButton>(*this, "Button2", 8, 8, 80, 25, find);
  Button2->SetCaption("กลับ");
  Button2->OnClick = Bind(this, &TRep_Donate_Filter::Button2Click);
  DataSource2->SetDataSet(&Q_Project.Rows());
  DBGrid2 = &MakeControl<TDBGrid>(*this, "DBGrid2", 0, 40, 600, 400, find);
  DBGrid2->SetReadOnly(true);
  DBGrid2->SetDataSource(DataSource2);
  ShowColumns(*DBGrid2, {{"accessory_no", "รหัสวัตถุประสงค์"}, {"accessory_name", "ชื่อวัตถุประสงค์"}});

  OnActivate = Bind(this, &TRep_Donate_Filter::FormActivate);
}

TRep_Donate_Filter::~TRep_Donate_Filter() = default;

void TRep_Donate_Filter::FormActivate(TObject* sender) {
  const bool first = SetupPending();
  ReportWindow::FormActivate(sender);
  if (!first) return;
  // The sort choice waits for the run as well; the template binds it here.
  RadioGroup1->OnClick = Bind(this, &TRep_Donate_Filter::FilterClick);
  Q_Project.Open(PurposeList());
}

void TRep_Donate_Filter::AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) {
  const std::string typed = Edit1->Text();
  switch (RadioGroup2->ItemIndex()) {
    case kByNumber:
      lines.push_back(std::string(" and accessory_no = :") + kPurposeParameter + " ");
      parameters.push_back({kPurposeParameter, Variant(typed)});
      break;
    case kByPartOfName:
      lines.push_back(std::string(" and accessory_name like :") + kPurposeParameter + " ");
      parameters.push_back({kPurposeParameter, Variant("%" + typed + "%")});
      break;
    default:
      break;
  }
}

void TRep_Donate_Filter::FilterClick(TObject*) {
  if (RadioGroup2->ItemIndex() == kAllPurposes) Edit1->Clear();
  Edit1->SetFocus();
}

void TRep_Donate_Filter::Edit1KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  Run();
}

void TRep_Donate_Filter::Button1Click(TObject*) {
  PageControl1.SetActivePage(find);
}

void TRep_Donate_Filter::Button2Click(TObject*) {
  PageControl1.SetActivePage(&ResultPage);
  TDataSet& purposes = Q_Project.Rows();
  if (purposes.Active() && !purposes.IsEmpty()) {
    if (RadioGroup2->ItemIndex() == kByNumber) Edit1->SetText(purposes.FieldByName("accessory_no")->AsString());
    if (RadioGroup2->ItemIndex() == kByPartOfName) Edit1->SetText(purposes.FieldByName("accessory_name")->AsString());
  }
  Run();
}
