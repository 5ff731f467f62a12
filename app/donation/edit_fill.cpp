#include "app/donation/edit_fill.h"

#include <exception>
#include <optional>

#include "app/core/DocumentNumber.h"
#include "app/core/DueDate.h"
#include "app/core/SqlWindowQuery.h"
#include "app/core/ThaiDateText.h"
#include "app/core/WindowParts.h"
#include "app/core/myVar.h"
#include "app/donation/Ref_Cust.h"
#include "app/donation/Ref_Supply.h"
#include "app/donation/ReportParts.h"
#include "app/donation/cdonate.h"
#include "engine/access/Database.h"
#include "engine/access/Query.h"
#include "platform/db/DB.h"
#include "platform/db/DataSource.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FormsApplication.h"

namespace {

const std::string kAlias(kGoodsAlias);
constexpr int kEditHeight = 22;

const std::vector<std::string> kSettingsStatement{
    " select prefix1,prefix2,prefix3,prefix4,tax_rate,prefix5,prefix6,prefix7 from  sys_sys "};
const std::vector<std::string> kStaffList{" select per_no, per_name from h_person ", " order by per_no "};
const std::vector<std::string> kStaffName{"select per_no, per_name from h_person where per_no =:q_t_no"};
const std::vector<std::string> kStaffNo{"select per_no, per_name from h_person where per_name =:q_t_name"};

TEdit& CaptionedBox(TForm& form, const std::string& name, std::string_view caption, int left, int top, int width,
                    TWinControl* parent) {
  MakeLabel(form, "Label" + name, caption, left, top + 3, 80, parent);
  auto& box = MakeControl<TEdit>(form, name, left + 85, top, width, kEditHeight, parent);
  box.SetReadOnly(true);
  return box;
}

TComboBox& Combo(TForm& form, const std::string& name, std::string_view caption, int left, int top,
                 TWinControl* parent) {
  MakeLabel(form, "Label" + name, caption, left, top + 3, 80, parent);
  auto& combo = MakeControl<TComboBox>(form, name, left + 85, top, 150, kEditHeight, parent);
  combo.SetStyle(csDropDownList);
  return combo;
}

TVTRQuery& MakeWriteQuery(TComponent& owner) {
  auto* query = new TVTRQuery(&owner);
  query->SetName("q_add_edit");
  query->SetDatabaseName(kAlias);
  return *query;
}

std::string FirstText(WindowQuery& query, const char* column) {
  TDataSet& rows = query.Rows();
  std::string text = rows.IsEmpty() ? std::string() : rows.FieldByName(column)->AsString();
  rows.Close();
  return text;
}

}  // namespace

Tedit_fill::Tedit_fill(TComponent* owner)
    : TForm(owner),
      master_query_(SqlQueries()(*this, kAlias)),
      numbers_query_(SqlQueries()(*this, kAlias)),
      party_query_(SqlQueries()(*this, kAlias)),
      temp_query_(SqlQueries()(*this, kAlias)),
      lines_query_(SqlQueries()(*this, kAlias)),
      product_query_(SqlQueries()(*this, kAlias)),
      Database1(MakeWindowDatabase(*this, "Database1", kAlias)),
      q_f_master(*master_query_),
      q_run_bill(*numbers_query_),
      query_cust(*party_query_),
      query_temp(*temp_query_),
      q_find2(*lines_query_),
      Query_Find_Acc(*product_query_),
      q_add_edit(MakeWriteQuery(*this)),
      DataSource9(MakeDataSource(*this, "DataSource9", q_f_master.Rows())),
      DataSource2(MakeDataSource(*this, "DataSource2", q_find2.Rows())),
      DataSource4(MakeDataSource(*this, "DataSource4", Query_Find_Acc.Rows())),
      PageControl1(MakeControl<TPageControl>(*this, "PageControl1", 0, 200, 790, 300)),
      main(MakeControl<TTabSheet>(*this, "main", 0, 0, 780, 290)),
      find_member(MakeControl<TTabSheet>(*this, "find_member", 0, 0, 780, 290)),
      Edit1(CaptionedBox(*this, "Edit1", "รหัสลูกค้า", 8, 40, 110, nullptr)),
      Edit2(CaptionedBox(*this, "Edit2", "ชื่อลูกค้า", 8, 66, 280, nullptr)),
      Edit3(CaptionedBox(*this, "Edit3", "ที่อยู่", 8, 92, 280, nullptr)),
      Edit21(CaptionedBox(*this, "Edit21", "", 8, 118, 280, nullptr)),
      Edit22(CaptionedBox(*this, "Edit22", "จังหวัด", 8, 144, 120, nullptr)),
      Edit23(CaptionedBox(*this, "Edit23", "รหัส ปณ.", 220, 144, 70, nullptr)),
      Edit24(CaptionedBox(*this, "Edit24", "โทร.", 8, 170, 120, nullptr)),
      Edit25(CaptionedBox(*this, "Edit25", "แฟกซ์", 220, 170, 120, nullptr)),
      Edit19(CaptionedBox(*this, "Edit19", "วันที่", 420, 40, 100, nullptr)),
      Edit16(CaptionedBox(*this, "Edit16", "เลขใบสำคัญ", 420, 66, 110, nullptr)),
      Edit4(CaptionedBox(*this, "Edit4", "วันครบชำระ", 420, 144, 100, nullptr)),
      ComboBox2(Combo(*this, "ComboBox2", "เครดิต", 420, 92, nullptr)),
      ComboBox1(Combo(*this, "ComboBox1", "เจ้าหน้าที่", 420, 118, nullptr)),
      Button14(MakeButton(*this, "Button14", "ค้น / เพิ่ม", 210, 38, 80)),
      Button2(MakeButton(*this, "Button2", "ค้นหาเลขที่ใบสำคัญ", 4, 4, 120)),
      Button16(MakeButton(*this, "Button16", "เพิ่ม", 128, 4, 50)),
      Button11(MakeButton(*this, "Button11", "แก้ไข", 182, 4, 50)),
      Button17(MakeButton(*this, "Button17", "ลบ", 236, 4, 50)),
      DBNavigator1(MakeControl<TDBNavigator>(*this, "DBNavigator1", 290, 6, 110, 25)),
      Button13(MakeButton(*this, "Button13", "ยกเลิก", 404, 4, 50)),
      Button12(MakeButton(*this, "Button12", "บันทึก", 458, 4, 50)),
      Button18(MakeButton(*this, "Button18", "พิมพ์ใบส่งของ", 512, 4, 90)),
      Button19(MakeButton(*this, "Button19", "พิมพ์ใบเสร็จรับเงิน", 606, 4, 110)),
      Button4(MakeButton(*this, "Button4", "", 720, 4, 20)),
      Button3(MakeButton(*this, "Button3", "เ&ลิก", 744, 4, 40)),
      DBGrid2(MakeControl<TDBGrid>(*this, "DBGrid2", 4, 4, 770, 200, &main)),
      Label25(MakeLabel(*this, "Label25", "รวมทั้งสิ้น", 520, 212, 80, &main)),
      Label26(MakeLabel(*this, "Label26", "", 610, 212, 150, &main)),
      Panel2(MakeControl<TPanel>(*this, "Panel2", 4, 208, 240, 36, &main)),
      Button5(MakeButton(*this, "Button5", "เ&พิ่ม", 4, 4, 70, &Panel2)),
      Button6(MakeButton(*this, "Button6", "แ&ก้ไข", 78, 4, 70, &Panel2)),
      Button7(MakeButton(*this, "Button7", "ล&บ", 152, 4, 70, &Panel2)),
      Panel1(MakeControl<TPanel>(*this, "Panel1", 138, 3, 620, 250, &main)),
      RadioGroup3(MakeControl<TRadioGroup>(*this, "RadioGroup3", 4, 4, 200, 40, &Panel1)),
      RadioGroup2(MakeControl<TRadioGroup>(*this, "RadioGroup2", 210, 4, 150, 40, &Panel1)),
      Edit7(MakeControl<TEdit>(*this, "Edit7", 370, 14, 200, kEditHeight, &Panel1)),
      DBGrid3(MakeControl<TDBGrid>(*this, "DBGrid3", 4, 48, 300, 160, &Panel1)),
      Edit9(CaptionedBox(*this, "Edit9", "รหัส", 310, 48, 150, &Panel1)),
      Edit10(CaptionedBox(*this, "Edit10", "ชื่อ", 310, 74, 200, &Panel1)),
      Label4(MakeLabel(*this, "Label4", "จำนวนที่มี", 310, 103, 80, &Panel1)),
      MaskEdit11(MakeControl<TMaskEdit>(*this, "MaskEdit11", 395, 100, 90, kEditHeight, &Panel1)),
      MaskEdit12(MakeControl<TMaskEdit>(*this, "MaskEdit12", 395, 126, 90, kEditHeight, &Panel1)),
      MaskEdit13(MakeControl<TMaskEdit>(*this, "MaskEdit13", 395, 152, 90, kEditHeight, &Panel1)),
      MaskEdit14(MakeControl<TMaskEdit>(*this, "MaskEdit14", 540, 152, 50, kEditHeight, &Panel1)),
      MaskEdit15(MakeControl<TMaskEdit>(*this, "MaskEdit15", 395, 178, 90, kEditHeight, &Panel1)),
      CheckBox1(MakeControl<TCheckBox>(*this, "CheckBox1", 310, 204, 160, kEditHeight, &Panel1)),
      Button9(MakeButton(*this, "Button9", "บัน&ทึก", 480, 204, 60, &Panel1)),
      Button8(MakeButton(*this, "Button8", "&ยกเลิก", 544, 204, 60, &Panel1)),
      Edit6(MakeControl<TEdit>(*this, "Edit6", 8, 24, 200, kEditHeight, &find_member)),
      DBGrid1(MakeControl<TDBGrid>(*this, "DBGrid1", 8, 52, 520, 220, &find_member)),
      Button1(MakeButton(*this, "Button1", "กลับ", 220, 22, 70, &find_member)) {
  SetFormStyle(fsMDIChild);
  SetClientWidth(790);
  SetClientHeight(500);
  for (TTabSheet* page : {&main, &find_member}) {
    page->SetPageControl(&PageControl1);
    page->SetTabVisible(false);
  }
  BuildHeader();
  BuildLines();
  BuildLinePanel();
  BuildSearchPage();
  OnCreate = Bind(this, &Tedit_fill::FormCreate);
  OnActivate = Bind(this, &Tedit_fill::FormActivate);
  OnClose = Bind(this, &Tedit_fill::FormClose);
}

Tedit_fill::~Tedit_fill() = default;

PartyBoxes Tedit_fill::PickBoxes() {
  return {.number = &Edit1, .name = &Edit2, .address1 = &Edit3, .address2 = &Edit21, .province = &Edit22,
          .zip = &Edit23, .telephone = &Edit24, .fax = &Edit25, .credit_term = &ComboBox2};
}

void Tedit_fill::BuildHeader() {
  ComboBox2.SetItems(kCreditTerms);
  ComboBox2.SetItemIndex(0);
  ComboBox2.OnChange = Bind(this, &Tedit_fill::ComboBox2Change);
  ComboBox1.OnClick = Bind(this, &Tedit_fill::ComboBox1Click);
  DataSource9.OnDataChange = Bind(this, &Tedit_fill::DataSource9DataChange);
  DBNavigator1.SetDataSource(&DataSource9);
  Button2.OnClick = Bind(this, &Tedit_fill::Button2Click);
  Button16.OnClick = Bind(this, &Tedit_fill::Button16Click);
  Button11.OnClick = Bind(this, &Tedit_fill::Button11Click);
  Button17.OnClick = Bind(this, &Tedit_fill::Button17Click);
  Button13.OnClick = Bind(this, &Tedit_fill::Button13Click);
  Button12.OnClick = Bind(this, &Tedit_fill::Button12Click);
  Button14.OnClick = Bind(this, &Tedit_fill::Button14Click);
  Button3.OnClick = Bind(this, &Tedit_fill::Button3Click);
  Button18.OnClick = Bind(this, &Tedit_fill::Button18Click);
  Button19.OnClick = Bind(this, &Tedit_fill::Button19Click);
  Button4.OnClick = Bind(this, &Tedit_fill::Button4Click);
}

void Tedit_fill::BuildSearchPage() {
  MakeLabel(*this, "Label5", "เลขใบสำคัญที่ต้องการค้นหา", 8, 4, 200, &find_member);
  Edit6.OnKeyPress = Bind(this, &Tedit_fill::Edit6KeyPress);
  DBGrid1.SetDataSource(&DataSource9);
  DBGrid1.SetReadOnly(true);
  ShowColumns(DBGrid1, {{"bill_no", "เลขใบสำคัญ"}});
  DBGrid1.OnCellClick = [this](TColumn*) { DBGrid1Pick(); };
  Button1.OnClick = Bind(this, &Tedit_fill::Button1Click);
}

const char* Tedit_fill::HeaderTable() const {
  return mode_ == GoodsMode::kSale ? "g_sale_2" : "g_buy_2";
}

const char* Tedit_fill::LineTable() const {
  return mode_ == GoodsMode::kSale ? "outstock" : "instock";
}

const std::string& Tedit_fill::Prefix() const {
  return mode_ == GoodsMode::kSale ? prefix_sale_ : prefix_purchase_;
}

void Tedit_fill::FormCreate(TObject*) {
  SetBounds(2, 1, Width(), Height());
  setup_pending_ = true;
}

void Tedit_fill::FormActivate(TObject*) {
  if (!setup_pending_) return;
  mode_ = myVar.WorkMode == "3" ? GoodsMode::kPurchase : GoodsMode::kSale;
  header_state_ = GoodsHeaderState::kNormal;
  ApplyMode();
  LoadNumberSettings();
  query_temp.Open({kStaffList, {}});
  std::vector<std::string> names;
  for (TDataSet& staff = query_temp.Rows(); !staff.Eof(); staff.Next())
    names.push_back(staff.FieldByName("per_name")->AsString());
  query_temp.Rows().Close();
  ComboBox1.SetItems(names);
  ComboBox1.SetItemIndex(names.empty() ? -1 : 0);
  PageControl1.SetActivePage(&main);
  Panel1.Hide();
  LoadProductList(0, 0);
  HeaderButtonsNormal();
  LoadDocumentList();
  setup_pending_ = false;
}

void Tedit_fill::ApplyMode() {
  const bool sale = mode_ == GoodsMode::kSale;
  SetCaption(std::string(sale ? kSaleCaption : kPurchaseCaption));
  // Sales print their delivery note and receipt; purchases are never printed.
  Button18.SetVisible(sale);
  Button19.SetVisible(sale);
  Button4.Hide();
  CheckBox1.SetVisible(sale);
}

void Tedit_fill::FormClose(TObject*, TCloseAction& action) {
  for (WindowQuery* query : {&q_f_master, &q_run_bill, &query_cust, &query_temp, &q_find2, &Query_Find_Acc})
    query->Rows().Close();
  q_add_edit.Close();
  Database1.Close();
  action = caFree;
}

void Tedit_fill::LoadNumberSettings() {
  query_temp.Open({kSettingsStatement, {}});
  TDataSet& settings = query_temp.Rows();
  if (!settings.IsEmpty()) {
    prefix_purchase_ = settings.FieldByName("prefix6")->AsString();
    prefix_sale_ = settings.FieldByName("prefix7")->AsString();
    myVar.VatRate = settings.FieldByName("tax_rate")->AsFloat();
  }
  settings.Close();
}

void Tedit_fill::LoadDocumentList() {
  // Opening and moving the list show the document through DataSource9.
  q_f_master.Open({{std::string(" select * from ") + HeaderTable() + " ",
                    " where substring(bill_no from 1 for 5) =:qprefix ", " order by bill_no "},
                   {{"qprefix", Variant(Prefix() + "1")}}});
}

void Tedit_fill::DataSource9DataChange(TObject*, TField*) {
  if (header_state_ == GoodsHeaderState::kAdd) return;
  ShowDocumentHeader();
  LoadDocumentLines(current_bill_no_);
  RecalcDocumentTotal();
}

void Tedit_fill::ShowDocumentHeader() {
  TDataSet& row = q_f_master.Rows();
  ClearParty();
  if (!row.Active() || row.IsEmpty()) {
    current_bill_no_.clear();
    for (TEdit* box : {&Edit19, &Edit16, &Edit4}) box->Clear();
    return;
  }
  const auto text = [&row](const char* column) { return row.FieldByName(column)->AsString(); };
  const std::string cust_no = text("cust_no");
  query_cust.Open({{" select cust_no,cust_name, cust_add1, cust_add2, cust_add4, cust_zip, cust_tel, cust_fax ",
                    mode_ == GoodsMode::kSale ? " from customer " : " from supply ",
                    " where cust_no =:q_t_no order by cust_no "},
                   {{"q_t_no", Variant(cust_no)}}});
  Edit1.SetText(cust_no);
  for (const auto& [box, column] : std::vector<std::pair<TEdit*, const char*>>{
           {&Edit2, "cust_name"}, {&Edit3, "cust_add1"}, {&Edit21, "cust_add2"}, {&Edit22, "cust_add4"},
           {&Edit23, "cust_zip"}, {&Edit24, "cust_tel"}, {&Edit25, "cust_fax"}})
    if (!query_cust.Rows().IsEmpty()) box->SetText(query_cust.Rows().FieldByName(column)->AsString());
  query_cust.Rows().Close();
  current_bill_no_ = text("bill_no");
  Edit19.SetText(DateToThaiText(row.FieldByName("bill_date")->AsDateTime()));
  Edit16.SetText(current_bill_no_);
  Edit4.SetText(DateToThaiText(row.FieldByName("due_date")->AsDateTime()));
  ComboBox2.SetText(text("credit_rate"));
  sale_staff_no_ = text("sale_no");
  ComboBox1.SetText(StaffNameOf(sale_staff_no_));
}

void Tedit_fill::ClearParty() {
  for (TEdit* box : {&Edit1, &Edit2, &Edit3, &Edit21, &Edit22, &Edit23, &Edit24, &Edit25}) box->Clear();
}

std::string Tedit_fill::StaffNameOf(const std::string& per_no) {
  query_temp.Open({kStaffName, {{"q_t_no", Variant(per_no)}}});
  return FirstText(query_temp, "per_name");
}

std::string Tedit_fill::StaffNoOf(const std::string& per_name) {
  query_temp.Open({kStaffNo, {{"q_t_name", Variant(per_name)}}});
  return FirstText(query_temp, "per_no");
}

void Tedit_fill::HeaderButtonsNormal() {
  Panel2.Show();
  for (TControl* control : {static_cast<TControl*>(&Button2), static_cast<TControl*>(&Button11),
                            static_cast<TControl*>(&Button16), static_cast<TControl*>(&Button17),
                            static_cast<TControl*>(&DBNavigator1), static_cast<TControl*>(&Button18),
                            static_cast<TControl*>(&Button19), static_cast<TControl*>(&Button4),
                            static_cast<TControl*>(&Button3)})
    control->SetEnabled(true);
  for (TButton* button : {&Button12, &Button13, &Button14}) button->SetEnabled(false);
}

void Tedit_fill::HeaderButtonsEntry() {
  HeaderButtonsNormal();
  for (TControl* control : {static_cast<TControl*>(&Button2), static_cast<TControl*>(&Button11),
                            static_cast<TControl*>(&Button16), static_cast<TControl*>(&Button17),
                            static_cast<TControl*>(&DBNavigator1), static_cast<TControl*>(&Button18),
                            static_cast<TControl*>(&Button19), static_cast<TControl*>(&Button4),
                            static_cast<TControl*>(&Button3)})
    control->SetEnabled(false);
  for (TButton* button : {&Button12, &Button13, &Button14}) button->SetEnabled(true);
  Panel2.Hide();
}

void Tedit_fill::LineEntryButtons() {
  // A line is saved by its own button: the header's save, cancel and party
  // buttons have nothing to act on meanwhile.
  HeaderButtonsEntry();
  for (TButton* button : {&Button12, &Button13, &Button14}) button->SetEnabled(false);
}

void Tedit_fill::Button16Click(TObject*) {
  header_state_ = GoodsHeaderState::kAdd;
  saved_bookmark_ = current_bill_no_;
  HeaderButtonsEntry();
  Edit19.SetText(DateToThaiText(Date()));
  Edit16.SetText(std::string(kNewGoodsNumber));
  ClearParty();
  ComboBox2.SetItemIndex(0);
  Edit4.SetText(DueDateByTerm(Edit19.Text(), ComboBox2.Text()));
  ComboBox1.SetItemIndex(ComboBox1.Items().empty() ? -1 : 0);
  sale_staff_no_ = StaffNoOf(ComboBox1.Text());
  DataSource2.SetEnabled(false);
  OpenPartyPicker();
}

void Tedit_fill::Button14Click(TObject*) {
  OpenPartyPicker();
}

void Tedit_fill::OpenPartyPicker() {
  auto* target = static_cast<PickTarget*>(this);
  if (mode_ == GoodsMode::kPurchase) {
    myVar.SupplyPickCaller = "2";
    FormsApplication().CreateForm<TRef_Supply>(target)->ShowModal();
  } else {
    myVar.PickCaller = "2";
    FormsApplication().CreateForm<TRef_Cust>(target)->ShowModal();
  }
}

void Tedit_fill::Button11Click(TObject*) {
  if (q_f_master.Rows().IsEmpty()) return;
  header_state_ = GoodsHeaderState::kEdit;
  HeaderButtonsEntry();
  current_bill_no_ = Edit16.Text();
  saved_bookmark_ = current_bill_no_;
}

void Tedit_fill::Button12Click(TObject*) {
  if (header_state_ == GoodsHeaderState::kNormal) return;
  const bool adding = header_state_ == GoodsHeaderState::kAdd;
  if (adding) {
    const std::optional<std::string> number = NextDocumentNumber(
        q_run_bill,
        {{std::string(" select distinct(bill_no) from ") + HeaderTable() + " where ",
          " substring(bill_no from 1 for 5) =:head_bill ", " order by bill_no "}},
        Prefix());
    if (!number) return;
    current_bill_no_ = *number;
    Edit16.SetText(*number);
  }
  if (!SaveHeader()) return;
  header_state_ = GoodsHeaderState::kNormal;
  DataSource2.SetEnabled(true);
  LoadDocumentList();
  if (adding) {
    q_f_master.Rows().Last();
  } else {
    q_f_master.Rows().Locate("bill_no", Variant(saved_bookmark_), {});
  }
  PageControl1.SetActivePage(&main);
  HeaderButtonsNormal();
  LineButtons(true);
}

bool Tedit_fill::SaveHeader() {
  if (header_state_ == GoodsHeaderState::kEdit) RecalcDocumentTotal();
  const double total = header_state_ == GoodsHeaderState::kAdd ? 0 : document_total_.ToDouble();
  sale_staff_no_ = StaffNoOf(ComboBox1.Text());
  const Variant zero_date = Variant::Date(TDateTime(0));
  const std::string table = HeaderTable();
  try {
    const std::vector<QueryParameter> parameters{
        {"Pbill_no", Variant(current_bill_no_)},
        {"Pbill_date", Variant::Date(ThaiTextToDate(Edit19.Text()))},
        {"Pcust_no", Variant(Edit1.Text())},
        {"Pcredit_rate", Variant(ComboBox2.Text())},
        {"Pbeg_date", zero_date},
        {"Pdue_date", Variant::Date(ThaiTextToDate(Edit4.Text()))},
        {"Pend_date", zero_date},
        {"Ptotal", Variant(total)},
        {"Pdiscount", Variant(0.0)},
        {"Pgrand_total", Variant(total)},
        {"Psale_no", Variant(sale_staff_no_)},
        {"Pvat", Variant(0.0)},
        {"Pfg_paid", Variant(std::string())},
    };
    if (header_state_ == GoodsHeaderState::kAdd) {
      ExecuteWrite({" insert into " + table + " ",
                    " (bill_no,bill_date,cust_no,credit_rate,beg_date,due_date,end_date, ",
                    " total,discount,grand_total,sale_no,vat,fg_paid ) ", " values ",
                    " (:pbill_no,:pbill_date,:pcust_no,:pcredit_rate,:pbeg_date,:pdue_date,:pend_date, ",
                    " :ptotal,:pdiscount,:pgrand_total,:psale_no,:pvat,:pfg_paid ) "},
                   parameters);
    } else {
      ExecuteWrite({" update " + table + " ", " set ", " bill_date=:pbill_date, ",
                    " cust_no=:pcust_no,credit_rate=:pcredit_rate,beg_date=:pbeg_date, ",
                    " due_date=:pdue_date,end_date=:pend_date, ", " total=:ptotal,discount=:pdiscount, ",
                    " grand_total=:pgrand_total,sale_no=:psale_no,vat=:pvat, ", " fg_paid=:pfg_paid ",
                    " where bill_no =:pbill_no "},
                   parameters);
    }
  } catch (const std::exception&) {
    ShowMessage(std::string(kHeaderLockMessage));
    return false;
  }
  return true;
}

void Tedit_fill::ExecuteWrite(const std::vector<std::string>& lines, const std::vector<QueryParameter>& parameters) {
  // The window's connection closes with its last dataset.
  Database1.Open();
  q_add_edit.Close();
  q_add_edit.SQL().Clear();
  for (const std::string& line : lines) q_add_edit.SQL().Add(line);
  q_add_edit.Prepare();
  for (const QueryParameter& parameter : parameters) q_add_edit.ParamByName(parameter.name)->SetValue(parameter.value);
  q_add_edit.ExecSQL();
}

void Tedit_fill::Button13Click(TObject*) {
  header_state_ = GoodsHeaderState::kNormal;
  DataSource2.SetEnabled(true);
  HeaderButtonsNormal();
  LineButtons(true);
  ClearParty();
  for (TEdit* box : {&Edit19, &Edit16, &Edit4}) box->Clear();
  ComboBox2.SetItemIndex(0);
  TDataSet& rows = q_f_master.Rows();
  if (rows.Active() && !saved_bookmark_.empty()) rows.Locate("bill_no", Variant(saved_bookmark_), {});
  DataSource9DataChange(this, nullptr);
}

void Tedit_fill::Button17Click(TObject*) {
  if (q_f_master.Rows().IsEmpty()) return;
  if (MessageDlg(std::string(kDeleteQuestion), mtConfirmation, {mbYes, mbNo}) != mrYes) return;
  HeaderButtonsEntry();
  LineButtons(false);
  if (HasLines()) {
    ShowMessage(std::string(kGoodsHasLinesMessage));
  } else {
    try {
      ExecuteWrite({std::string(" delete from ") + HeaderTable() + " ", " where bill_no =:pbill_no "},
                   {{"pbill_no", Variant(current_bill_no_)}});
    } catch (const std::exception&) {
      ShowMessage(std::string(kHeaderLockMessage));
    }
    LoadDocumentList();
  }
  HeaderButtonsNormal();
  LineButtons(true);
}

void Tedit_fill::ComboBox2Change(TObject*) {
  Edit4.SetText(DueDateByTerm(Edit19.Text(), ComboBox2.Text()));
}

void Tedit_fill::ComboBox1Click(TObject*) {
  sale_staff_no_ = StaffNoOf(ComboBox1.Text());
}

void Tedit_fill::Button2Click(TObject*) {
  HeaderButtonsEntry();
  for (TButton* button : {&Button12, &Button13, &Button14}) button->SetEnabled(false);
  DBNavigator1.Hide();
  PageControl1.SetActivePage(&find_member);
  Edit6.Clear();
  Edit6.SetFocus();
}

void Tedit_fill::Edit6KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  if (q_f_master.Rows().Locate("bill_no", Variant(Edit6.Text()), {loPartialKey})) Button1.SetFocus();
}

void Tedit_fill::DBGrid1Pick() {
  TDataSet& rows = q_f_master.Rows();
  if (rows.IsEmpty()) return;
  Edit6.SetText(rows.FieldByName("bill_no")->AsString());
  Button1.SetFocus();
}

void Tedit_fill::Button1Click(TObject*) {
  HeaderButtonsNormal();
  DBNavigator1.Show();
  PageControl1.SetActivePage(&main);
}

void Tedit_fill::Button3Click(TObject*) {
  Close();
}
