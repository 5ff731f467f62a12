#include "app/donation/cdonate.h"

#include <exception>

#include "app/core/DocumentNumber.h"
#include "app/core/LockedRead.h"
#include "app/core/SqlWindowQuery.h"
#include "app/core/ThaiDateText.h"
#include "app/core/WindowParts.h"
#include "app/core/myVar.h"
#include "app/donation/DonationLayouts.h"
#include "app/donation/Ref_Cust.h"
#include "engine/access/Database.h"
#include "engine/access/Query.h"
#include "platform/db/DB.h"
#include "platform/db/DataSource.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FormsApplication.h"

namespace {

const std::string kAlias(kDonateAlias);

const std::vector<std::string> kSettingsStatement{
    " select prefix1,prefix2,prefix3,prefix4,tax_rate,prefix5,prefix6 from  sys_sys "};
const std::vector<std::string> kDonationListStatement{
    " select * from g_donate_2 ", " where substring(bill_no from 1 for 5) =:qprefix ", " order by bill_no "};
const NumberingStatement kNumberingStatement{
    {" select bill_no from g_donate_2  where substring(bill_no from 1 for 5) = :head_bill  order by bill_no "}};

const std::vector<std::string> kInsertHeader{
    " insert into g_donate_2 ",
    " (bill_no,bill_date,cust_no, ",
    " cust_name,cust_birth,cust_add1,cust_add2, ",
    " cust_add4,cust_zip,cust_tel, ",
    " cust_fax,cust_email,country, ",
    " beg_date,due_date,end_date, ",
    " sale_no,total,grand_total,fg_paid, ",
    " app_for,rem) ",
    " values ",
    " (:pbill_no,:pbill_date,:pcust_no, ",
    " :pcust_name,:pcust_birth,:pcust_add1,:pcust_add2, ",
    " :pcust_add4,:pcust_zip,:pcust_tel, ",
    " :pcust_fax,:pcust_email,:pcountry, ",
    " :pbeg_date,:pdue_date,:pend_date, ",
    " :psale_no,:Ptotal,:Pgrand_total,:pfg_paid, ",
    " :papp_for,:prem) "};
const std::vector<std::string> kUpdateHeader{" update g_donate_2 ",
                                             " set ",
                                             " bill_date=:pbill_date, ",
                                             " cust_no=:pcust_no,cust_name=:pcust_name,cust_birth=:pcust_birth, ",
                                             " cust_add1=:pcust_add1,cust_add2=:pcust_add2, ",
                                             " cust_add4=:pcust_add4,cust_zip=:pcust_zip, ",
                                             " cust_tel=:pcust_tel,cust_fax=:pcust_fax, ",
                                             " cust_email=:pcust_email,country=:pcountry, ",
                                             " beg_date=:pbeg_date, ",
                                             " due_date=:pdue_date,end_date=:pend_date, ",
                                             " total=:ptotal, ",
                                             " grand_total=:pgrand_total,sale_no=:psale_no, ",
                                             " fg_paid=:pfg_paid, ",
                                             " app_for=:papp_for,rem=:prem ",
                                             " where bill_no =:pbill_no "};
const std::vector<std::string> kDeleteHeader{" delete from g_donate_2 ", " where bill_no =:pbill_no "};

constexpr int kEditHeight = 22;

TEdit& CaptionedBox(TForm& form, const std::string& name, std::string_view caption, int left, int top, int width,
                 TWinControl* page) {
  MakeLabel(form, "Label" + name, caption, left, top + 3, 90, page);
  auto& box = MakeControl<TEdit>(form, name, left + 95, top, width, kEditHeight, page);
  box.SetReadOnly(true);
  return box;
}

TVTRQuery& MakeWriteQuery(TComponent& owner) {
  auto* query = new TVTRQuery(&owner);
  query->SetName("q_add_edit");
  query->SetDatabaseName(kAlias);
  return *query;
}

// Enter in `from` moves the cursor to `to`.
void EnterMovesTo(TWinControl& from, TWinControl& to) {
  from.OnKeyPress = [&to](TObject*, char32_t& key) {
    if (key != U'\r') return;
    key = 0;
    to.SetFocus();
  };
}

}  // namespace

Tdonate::Tdonate(TComponent* owner) : Tdonate(owner, SqlQueries(), DonationLayoutTable()) {}

Tdonate::Tdonate(TComponent* owner, const WindowQueryFactory& make_query, DonationLayouts layouts)
    : TForm(owner),
      master_query_(make_query(*this, kAlias)),
      numbers_query_(make_query(*this, kAlias)),
      temp_query_(make_query(*this, kAlias)),
      person_query_(make_query(*this, kAlias)),
      lines_query_(make_query(*this, kAlias)),
      purpose_query_(make_query(*this, kAlias)),
      settings_query_(make_query(*this, kAlias)),
      Database1(MakeWindowDatabase(*this, "Database1", kAlias)),
      q_f_master(*master_query_),
      q_run_bill(*numbers_query_),
      query_temp(*temp_query_),
      Query_Person(*person_query_),
      q_find2(*lines_query_),
      Query_Find_Acc(*purpose_query_),
      farmsys(*settings_query_),
      q_add_edit(MakeWriteQuery(*this)),
      DataSource9(MakeDataSource(*this, "DataSource9", q_f_master.Rows())),
      DataSource2(MakeDataSource(*this, "DataSource2", q_find2.Rows())),
      DataSource3(MakeDataSource(*this, "DataSource3", Query_Find_Acc.Rows())),
      DataSource5(MakeDataSource(*this, "DataSource5", Query_Person.Rows())),
      PageControl1(MakeControl<TPageControl>(*this, "PageControl1", 0, 0, 790, 470)),
      TabSheet1(MakeControl<TTabSheet>(*this, "TabSheet1", 0, 0, 780, 440)),
      TabSheet3(MakeControl<TTabSheet>(*this, "TabSheet3", 0, 0, 780, 440)),
      find_member(MakeControl<TTabSheet>(*this, "find_member", 0, 0, 780, 440)),
      Edit16(CaptionedBox(*this, "Edit16", "เลขบริจาค", 8, 8, 120, &TabSheet1)),
      Edit19(CaptionedBox(*this, "Edit19", "วันที่บริจาค", 300, 8, 100, &TabSheet1)),
      Edit2(CaptionedBox(*this, "Edit2", "ชื่อผู้บริจาค", 8, 36, 300, &TabSheet1)),
      Edit3(CaptionedBox(*this, "Edit3", "ที่อยู่", 8, 64, 300, &TabSheet1)),
      Edit21(CaptionedBox(*this, "Edit21", "", 8, 92, 300, &TabSheet1)),
      Edit22(CaptionedBox(*this, "Edit22", "จังหวัด", 8, 120, 150, &TabSheet1)),
      Edit23(CaptionedBox(*this, "Edit23", "รหัส ปณ.", 260, 120, 80, &TabSheet1)),
      Edit13(CaptionedBox(*this, "Edit13", "ประเทศ", 450, 120, 120, &TabSheet1)),
      Edit24(CaptionedBox(*this, "Edit24", "โทร.", 8, 148, 150, &TabSheet1)),
      Edit25(CaptionedBox(*this, "Edit25", "แฟกซ์", 260, 148, 150, &TabSheet1)),
      Edit12(CaptionedBox(*this, "Edit12", "ว.ด.ป.เกิด", 450, 148, 100, &TabSheet1)),
      Edit18(CaptionedBox(*this, "Edit18", "เจ้าหน้าที่", 450, 36, 150, &TabSheet1)),
      Edit4(CaptionedBox(*this, "Edit4", "อุทิศให้", 8, 176, 500, &TabSheet1)),
      Button14(MakeButton(*this, "Button14", "ค้น/เพิ่ม", 410, 34, 70, &TabSheet1)),
      Button15(MakeButton(*this, "Button15", "ค้น", 700, 34, 50, &TabSheet1)),
      Button2(MakeButton(*this, "Button2", "ค้นหา", 8, 476, 70)),
      Button11(MakeButton(*this, "Button11", "แก้ไข", 82, 476, 70)),
      Button16(MakeButton(*this, "Button16", "เพิ่ม", 156, 476, 70)),
      Button17(MakeButton(*this, "Button17", "ลบ", 230, 476, 70)),
      Button18(MakeButton(*this, "Button18", "พิมพ์ใบรับบริจาค", 304, 476, 110)),
      Button19(MakeButton(*this, "Button19", "พิมพ์ใบอนุโมทนาบัตร", 418, 476, 120)),
      Button13(MakeButton(*this, "Button13", "ยกเลิก", 542, 476, 60)),
      Button12(MakeButton(*this, "Button12", "บันทึก", 606, 476, 60)),
      Button3(MakeButton(*this, "Button3", "เ&ลิก", 670, 476, 60)),
      DBNavigator1(MakeControl<TDBNavigator>(*this, "DBNavigator1", 8, 510, 160, 25)),
      DBGrid2(MakeControl<TDBGrid>(*this, "DBGrid2", 8, 210, 760, 180, &TabSheet1)),
      Label25(MakeLabel(*this, "Label25", "รวมทั้งสิ้น", 520, 398, 80, &TabSheet1)),
      Label26(MakeLabel(*this, "Label26", "", 610, 398, 150, &TabSheet1)),
      Panel2(MakeControl<TPanel>(*this, "Panel2", 8, 394, 300, 36, &TabSheet1)),
      Button5(MakeButton(*this, "Button5", "เ&พิ่ม", 4, 4, 70, &Panel2)),
      Button6(MakeButton(*this, "Button6", "แ&ก้ไข", 78, 4, 70, &Panel2)),
      Button7(MakeButton(*this, "Button7", "ล&บ", 152, 4, 70, &Panel2)),
      Panel1(MakeControl<TPanel>(*this, "Panel1", 159, 4, 600, 241, &TabSheet1)),
      RadioGroup2(MakeControl<TRadioGroup>(*this, "RadioGroup2", 4, 4, 180, 40, &Panel1)),
      Edit7(MakeControl<TEdit>(*this, "Edit7", 190, 14, 200, kEditHeight, &Panel1)),
      DBGrid3(MakeControl<TDBGrid>(*this, "DBGrid3", 4, 48, 300, 150, &Panel1)),
      Edit9(CaptionedBox(*this, "Edit9", "รหัส", 310, 48, 150, &Panel1)),
      Edit10(CaptionedBox(*this, "Edit10", "ชื่อ", 310, 74, 180, &Panel1)),
      MaskEdit12(MakeControl<TMaskEdit>(*this, "MaskEdit12", 405, 100, 90, kEditHeight, &Panel1)),
      Edit8(CaptionedBox(*this, "Edit8", "หน่วยนับ", 310, 126, 90, &Panel1)),
      MaskEdit13(MakeControl<TMaskEdit>(*this, "MaskEdit13", 405, 152, 90, kEditHeight, &Panel1)),
      MaskEdit14(MakeControl<TMaskEdit>(*this, "MaskEdit14", 540, 152, 50, kEditHeight, &Panel1)),
      MaskEdit15(MakeControl<TMaskEdit>(*this, "MaskEdit15", 405, 178, 90, kEditHeight, &Panel1)),
      Button9(MakeButton(*this, "Button9", "บัน&ทึก", 310, 206, 70, &Panel1)),
      Button8(MakeButton(*this, "Button8", "&ยกเลิก", 390, 206, 70, &Panel1)),
      RadioGroup3(MakeControl<TRadioGroup>(*this, "RadioGroup3", 8, 8, 180, 40, &TabSheet3)),
      Label21(MakeLabel(*this, "Label21", "ค้นหาโดยรหัส", 200, 12, 120, &TabSheet3)),
      Edit11(MakeControl<TEdit>(*this, "Edit11", 330, 8, 200, kEditHeight, &TabSheet3)),
      DBGrid5(MakeControl<TDBGrid>(*this, "DBGrid5", 8, 56, 520, 320, &TabSheet3)),
      Button22(MakeButton(*this, "Button22", "กลับ", 540, 8, 70, &TabSheet3)),
      Edit6(MakeControl<TEdit>(*this, "Edit6", 8, 8, 200, kEditHeight, &find_member)),
      DBGrid1(MakeControl<TDBGrid>(*this, "DBGrid1", 8, 40, 520, 340, &find_member)),
      Button1(MakeButton(*this, "Button1", "กลับ", 220, 6, 70, &find_member)),
      layouts_(std::move(layouts)) {
  SetFormStyle(fsMDIChild);
  // The series may hold a great many donations: the list and the numbering
  // read the stored table through its number index instead of copying them.
  q_f_master.SetLiveRows(true);
  q_run_bill.SetLiveRows(true);
  SetCaption(std::string(kDonateCaption));
  SetClientWidth(790);
  SetClientHeight(540);
  for (TTabSheet* page : {&TabSheet1, &TabSheet3, &find_member}) {
    page->SetPageControl(&PageControl1);
    page->SetTabVisible(false);
  }
  BuildHeader();
  BuildButtons();
  BuildLines();
  BuildLinePanel();
  BuildStaffPage();
  BuildSearchPage();
  BindEnterOrders();
  OnCreate = Bind(this, &Tdonate::FormCreate);
  OnActivate = Bind(this, &Tdonate::FormActivate);
  OnClose = Bind(this, &Tdonate::FormClose);
}

Tdonate::~Tdonate() = default;

void Tdonate::BuildHeader() {
  DataSource9.OnDataChange = Bind(this, &Tdonate::DataSource9DataChange);
  Button14.OnClick = Bind(this, &Tdonate::Button14Click);
  Button15.OnClick = Bind(this, &Tdonate::Button15Click);
}

void Tdonate::BuildButtons() {
  Button2.OnClick = Bind(this, &Tdonate::Button2Click);
  Button11.OnClick = Bind(this, &Tdonate::Button11Click);
  Button16.OnClick = Bind(this, &Tdonate::Button16Click);
  Button17.OnClick = Bind(this, &Tdonate::Button17Click);
  Button18.OnClick = Bind(this, &Tdonate::Button18Click);
  Button19.OnClick = Bind(this, &Tdonate::Button19Click);
  Button13.OnClick = Bind(this, &Tdonate::Button13Click);
  Button12.OnClick = Bind(this, &Tdonate::Button12Click);
  Button3.OnClick = Bind(this, &Tdonate::Button3Click);
  DBNavigator1.SetDataSource(&DataSource9);
}

void Tdonate::BindEnterOrders() {
  // Edit12 and Edit13 share Edit3's handler, Edit4 Edit24's.
  for (const auto& [from, to] : std::vector<std::pair<TWinControl*, TWinControl*>>{
           {&Edit2, &Edit3}, {&Edit3, &Edit21}, {&Edit12, &Edit21}, {&Edit13, &Edit21}, {&Edit21, &Edit22},
           {&Edit22, &Edit23}, {&Edit23, &Edit24}, {&Edit24, &Edit25}, {&Edit4, &Edit25}, {&Edit9, &Edit10},
           {&Edit10, &MaskEdit12}, {&MaskEdit12, &Edit8}, {&Edit8, &MaskEdit13}, {&MaskEdit13, &MaskEdit15},
           {&MaskEdit15, &Button9}})
    EnterMovesTo(*from, *to);
}

void Tdonate::FormCreate(TObject*) {
  SetBounds(0, 2, Width(), Height());
  first_activation_ = true;
}

void Tdonate::FormActivate(TObject*) {
  if (!first_activation_) return;
  first_activation_ = false;
  SetCaption(std::string(kDonateCaption));
  PageControl1.SetActivePage(&TabSheet1);
  state_ = DonationState::kNormal;
  ReadSettings();
  OpenStaffList(" order by per_no ");
  Panel1.Hide();
  SetHeaderButtons(false);
  OpenPurposes(false);
  OpenDonationList();
}

void Tdonate::FormClose(TObject*, TCloseAction& action) {
  for (WindowQuery* query : {&q_f_master, &q_run_bill, &query_temp, &Query_Person, &q_find2, &Query_Find_Acc,
                             &farmsys})
    query->Rows().Close();
  q_add_edit.Close();
  Database1.Close();
  action = caFree;
}

void Tdonate::ReadSettings() {
  query_temp.Open({kSettingsStatement, {}});
  TDataSet& settings = query_temp.Rows();
  if (!settings.IsEmpty()) {
    series_prefix_ = settings.FieldByName("prefix5")->AsString();
    myVar.VatRate = settings.FieldByName("tax_rate")->AsFloat();
  }
  settings.Close();
}

void Tdonate::OpenDonationList() {
  // Opening and moving the list show the donation through DataSource9.
  q_f_master.Open({kDonationListStatement, {{"qprefix", Variant(series_prefix_ + "1")}}});
}

void Tdonate::DataSource9DataChange(TObject*, TField*) {
  if (state_ == DonationState::kAdd) return;
  ShowHeader();
  ShowLines();
}

void Tdonate::ShowHeader() {
  if (state_ == DonationState::kAdd) {
    ClearHeader();
    return;
  }
  TDataSet& row = q_f_master.Rows();
  if (!row.Active() || row.IsEmpty()) {
    ClearHeader();
    Edit16.Clear();
    Edit19.Clear();
    current_number_.clear();
    return;
  }
  const auto text = [&row](const char* column) { return row.FieldByName(column)->AsString(); };
  current_number_ = text("bill_no");
  DonationCustNo = text("cust_no");
  staff_no_ = text("sale_no");
  Edit16.SetText(current_number_);
  Edit19.SetText(DateToThaiText(row.FieldByName("bill_date")->AsDateTime()));
  Edit2.SetText(text("cust_name"));
  Edit12.SetText(text("cust_birth"));
  Edit3.SetText(text("cust_add1"));
  Edit21.SetText(text("cust_add2"));
  Edit22.SetText(text("cust_add4"));
  Edit23.SetText(text("cust_zip"));
  Edit24.SetText(text("cust_tel"));
  Edit25.SetText(text("cust_fax"));
  Edit13.SetText(text("country"));
  Edit4.SetText(text("app_for"));
  Edit18.SetText(staff_no_);
}

void Tdonate::ClearHeader() {
  for (TEdit* box : {&Edit2, &Edit3, &Edit21, &Edit22, &Edit23, &Edit24, &Edit25, &Edit13, &Edit12, &Edit18, &Edit4})
    box->Clear();
}

void Tdonate::SetHeaderButtons(bool entering) {
  for (TControl* control : {static_cast<TControl*>(&Button2), static_cast<TControl*>(&Button11),
                            static_cast<TControl*>(&Button16), static_cast<TControl*>(&Button17),
                            static_cast<TControl*>(&DBNavigator1), static_cast<TControl*>(&Button18),
                            static_cast<TControl*>(&Button19), static_cast<TControl*>(&Button3)})
    control->SetEnabled(!entering);
  for (TButton* button : {&Button14, &Button15, &Button12, &Button13}) button->SetEnabled(entering);
}

void Tdonate::SetLineButtons(bool enabled) {
  for (TButton* button : {&Button5, &Button6, &Button7}) button->SetEnabled(enabled);
}

void Tdonate::SetHeaderReadOnly() {
  Edit4.SetReadOnly(true);
}

void Tdonate::Button16Click(TObject*) {
  saved_bookmark_ = current_number_;
  state_ = DonationState::kAdd;
  SetHeaderButtons(true);
  SetLineButtons(false);
  Edit4.SetReadOnly(false);
  DataSource2.SetEnabled(false);
  ClearHeader();
  Edit16.SetText(std::string(kNewDonationNumber));
  Edit19.SetText(DateToThaiText(Date()));
  DonationCustNo.clear();
  staff_no_.clear();
  Edit2.SetFocus();
}

void Tdonate::Button11Click(TObject*) {
  state_ = DonationState::kEdit;
  SetHeaderButtons(true);
  SetLineButtons(false);
  current_number_ = Edit16.Text();
  saved_bookmark_ = current_number_;
  Edit4.SetReadOnly(false);
  Edit2.SetFocus();
}

void Tdonate::Button13Click(TObject*) {
  SetHeaderButtons(false);
  SetLineButtons(true);
  SetHeaderReadOnly();
  PageControl1.SetActivePage(&TabSheet1);
  state_ = DonationState::kNormal;
  DataSource2.SetEnabled(true);
  BackToDonation(saved_bookmark_);
  ShowHeader();
  ShowLines();
}

void Tdonate::BackToDonation(const std::string& number) {
  TDataSet& rows = q_f_master.Rows();
  if (!rows.Active() || number.empty()) return;
  rows.Locate("bill_no", Variant(number), {});
}

void Tdonate::Button12Click(TObject*) {
  if (state_ == DonationState::kAdd) {
    const std::optional<std::string> number =
        NextDocumentNumber(q_run_bill, kNumberingStatement, series_prefix_);
    if (!number) return;
    Edit16.SetText(*number);
    current_number_ = *number;
  }
  if (!InTransaction(kHeaderLockMessage, [this] { SaveHeader(); })) return;
  state_ = DonationState::kNormal;
  SetHeaderButtons(false);
  SetLineButtons(true);
  SetHeaderReadOnly();
  DataSource2.SetEnabled(true);
  PageControl1.SetActivePage(&TabSheet1);
  ShowSavedDonation();
}

void Tdonate::ShowSavedDonation() {
  const std::string saved = current_number_;
  // One show of the saved donation once the list stands on it, instead of one
  // per open and move.
  const bool shown = ReadPastTableLocks(kLockedReadRetry, [&] {
    DataSource9.SetEnabled(false);
    OpenDonationList();
    BackToDonation(saved);
    DataSource9.SetEnabled(true);
  });
  if (shown) return;
  // The list stays closed, so the boxes keep the saved donation.
  q_f_master.Rows().Close();
  DataSource9.SetEnabled(true);
  ShowMessage(std::string(kSavedButLockedMessage));
}

void Tdonate::SaveHeader() {
  ShowTotal();
  const double total = total_.ToDouble();
  const Variant zero_date = Variant::Date(TDateTime(0));
  const std::vector<QueryParameter> parameters{
      {"pbill_no", Variant(current_number_)},
      {"pbill_date", Variant::Date(ThaiTextToDate(Edit19.Text()))},
      {"pcust_no", Variant(DonationCustNo)},
      {"pcust_name", Variant(Edit2.Text())},
      {"pcust_birth", Variant(Edit12.Text())},
      {"pcust_add1", Variant(Edit3.Text())},
      {"pcust_add2", Variant(Edit21.Text())},
      {"pcust_add4", Variant(Edit22.Text())},
      {"pcust_zip", Variant(Edit23.Text())},
      {"pcust_tel", Variant(Edit24.Text())},
      {"pcust_fax", Variant(Edit25.Text())},
      {"pcust_email", Variant(std::string())},
      {"pcountry", Variant(Edit13.Text())},
      {"pbeg_date", zero_date},
      {"pdue_date", zero_date},
      {"pend_date", zero_date},
      {"psale_no", Variant(staff_no_)},
      {"ptotal", Variant(total)},
      {"pgrand_total", Variant(total)},
      {"pfg_paid", Variant(std::string())},
      {"papp_for", Variant(Edit4.Text())},
      {"prem", Variant(std::string())},
  };
  Execute(state_ == DonationState::kAdd ? kInsertHeader : kUpdateHeader, parameters);
}

bool Tdonate::InTransaction(std::string_view lock_message, const std::function<void()>& write) {
  // The window's connection closes with its last dataset.
  Database1.Open();
  Database1.StartTransaction();
  try {
    write();
    if (BeforeCommit) BeforeCommit();
    Database1.Commit(true);
  } catch (const std::exception&) {
    Database1.Rollback();
    ShowMessage(std::string(lock_message));
    return false;
  }
  if (AfterCommit) AfterCommit();
  return true;
}

void Tdonate::Execute(const std::vector<std::string>& lines, const std::vector<QueryParameter>& parameters) {
  q_add_edit.Close();
  q_add_edit.SQL().Clear();
  for (const std::string& line : lines) q_add_edit.SQL().Add(line);
  q_add_edit.Prepare();
  for (const QueryParameter& parameter : parameters) q_add_edit.ParamByName(parameter.name)->SetValue(parameter.value);
  q_add_edit.ExecSQL();
}

bool Tdonate::HasLines() {
  TDataSet& lines = q_find2.Rows();
  return lines.Active() && !lines.IsEmpty();
}

void Tdonate::Button17Click(TObject*) {
  SetHeaderButtons(true);
  SetLineButtons(false);
  if (HasLines()) {
    ShowMessage(std::string(kHasLinesMessage));
  } else if (MessageDlg(std::string(kDeleteQuestion), mtConfirmation, {mbYes, mbNo}) == mrYes) {
    Execute(kDeleteHeader, {{"pbill_no", Variant(Edit16.Text())}});
    OpenDonationList();
    q_f_master.Rows().Last();
  }
  SetHeaderButtons(false);
  SetLineButtons(true);
}

PartyBoxes Tdonate::PickBoxes() {
  return {.number_text = &DonationCustNo, .name = &Edit2, .address1 = &Edit3, .address2 = &Edit21,
          .province = &Edit22, .zip = &Edit23, .telephone = &Edit24, .fax = &Edit25, .country = &Edit13,
          .birth_date = &Edit12};
}

void Tdonate::Button14Click(TObject*) {
  myVar.PickCaller = "1";
  FormsApplication().CreateForm<TRef_Cust>(static_cast<PickTarget*>(this))->ShowModal();
}

void Tdonate::Button3Click(TObject*) {
  Close();
}
