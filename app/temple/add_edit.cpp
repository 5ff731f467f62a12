#include "app/temple/add_edit.h"

#include <utility>

#include "app/core/Ref_Member.h"
#include "app/core/ThaiDateText.h"
#include "app/core/WindowParts.h"
#include "app/core/myVar.h"
#include "platform/db/Field.h"
#include "platform/rtl/DateTime.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FormsApplication.h"

namespace {

constexpr const char* kAlias = "d_work";
constexpr int kButtonWidth = 72;

void OpenMemberRegister() {
  myVar.MemberRegisterMode = 1;
  FormsApplication().CreateForm<TRef_Member>();
}

TButton* MakeButton(TForm& form, const char* name, const char* caption, int left, int top, TWinControl* parent,
                    TNotifyEvent on_click = {}) {
  auto& button = MakeControl<TButton>(form, name, left, top, kButtonWidth, 26, parent);
  button.SetCaption(caption);
  button.OnClick = std::move(on_click);
  return &button;
}

TEdit* MakeBox(TForm& form, const char* name, const char* caption, int left, int top, int width,
               TWinControl* parent = nullptr) {
  if (*caption != '\0') MakeLabel(form, std::string("Label_") + name, caption, left, top + 3, 110, parent);
  auto& box = MakeControl<TEdit>(form, name, left + 116, top, width, 22, parent);
  return &box;
}

void AddColumn(TDBGrid& grid, const char* field, const char* title, bool visible = true) {
  TColumn* column = grid.Columns().Add();
  column->SetFieldName(field);
  column->SetTitle(title);
  column->SetVisible(visible);
}

std::string Text(TDataSet& rows, const char* column) {
  return rows.FieldByName(column)->AsString();
}

}  // namespace

const UsageVoucherKind kHallVouchers{" ใช้งานศาลา อาคาร",
                                     "g_room",
                                     "g_member",
                                     "รหัสศาลา - อาคาร",
                                     "ชื่อศาลา - อาคาร",
                                     "ค่าศาลา - อาคาร",
                                     3,
                                     '1',
                                     &OpenMemberRegister};

Tadd_edit::Tadd_edit(TComponent* owner, const WindowQueryFactory& make_query, const UsageVoucherKind& kind)
    : TForm(owner),
      master_query_(make_query(*this, kAlias)),
      lines_query_(make_query(*this, kAlias)),
      member_query_(make_query(*this, kAlias)),
      items_query_(make_query(*this, kAlias)),
      site_query_(make_query(*this, kAlias)),
      temp_query_(make_query(*this, kAlias)),
      Database1(MakeWindowDatabase(*this, "Database1", kAlias)),
      q_master(*master_query_),
      q_find2(*lines_query_),
      Query_mem(*member_query_),
      Query_Find_Acc(*items_query_),
      q_find1(*site_query_),
      query_temp(*temp_query_),
      q_master_edit(new TVTRQuery(this)),
      q_add_edit(new TVTRQuery(this)),
      Q_Delete(new TVTRQuery(this)),
      DataSource10(new TDataSource(this)),
      DataSource2(new TDataSource(this)),
      DataSource5(new TDataSource(this)),
      kind_(kind) {
  SetFormStyle(fsMDIChild);
  SetCaption(kind.caption);
  SetClientWidth(820);
  SetClientHeight(520);
  DataSource10->SetAutoEdit(false);
  DataSource10->SetDataSet(&q_master.Rows());
  DataSource10->OnDataChange = Bind(this, &Tadd_edit::DataSource10DataChange);
  DataSource2->SetDataSet(&q_find2.Rows());
  DataSource5->SetDataSet(&Query_Find_Acc.Rows());
  BuildSiteFields();
  BuildHeaderBar();
  BuildHeaderFields();
  BuildPages();
  OnCreate = Bind(this, &Tadd_edit::FormCreate);
  OnActivate = Bind(this, &Tadd_edit::FormActivate);
  OnClose = Bind(this, &Tadd_edit::FormClose);
}

Tadd_edit::~Tadd_edit() = default;

void Tadd_edit::BuildSiteFields() {
  Label1 = &MakeLabel(*this, "Label1", kind_.site_code_label, 8, 11, 110);
  Edit1 = &MakeControl<TEdit>(*this, "Edit1", 124, 8, 100, 22);
  Label19 = &MakeLabel(*this, "Label19", kind_.site_name_label, 236, 11, 110);
  Edit8 = &MakeControl<TEdit>(*this, "Edit8", 352, 8, 280, 22);
  Edit1->SetReadOnly(true);
  Edit8->SetReadOnly(true);
  Edit1->OnKeyPress = Bind(this, &Tadd_edit::Edit1KeyPress);
  Edit8->OnKeyPress = Bind(this, &Tadd_edit::Edit1KeyPress);
  Button12 = MakeButton(*this, "Button12", "ค้นหา", 640, 6, nullptr, Bind(this, &Tadd_edit::Button12Click));
}

void Tadd_edit::BuildHeaderBar() {
  Panel5 = &MakeControl<TPanel>(*this, "Panel5", 0, 36, 820, 34);
  int left = 4;
  const auto next = [&left] { return std::exchange(left, left + kButtonWidth + 2); };
  Button20 = MakeButton(*this, "Button20", "ค้นหาเลขใบสำคัญ", next(), 4, Panel5, Bind(this, &Tadd_edit::Button20Click));
  Button16 = MakeButton(*this, "Button16", "เพิ่ม", next(), 4, Panel5, Bind(this, &Tadd_edit::Button16Click));
  Button18 = MakeButton(*this, "Button18", "แก้ไข", next(), 4, Panel5, Bind(this, &Tadd_edit::Button18Click));
  Button19 = MakeButton(*this, "Button19", "ลบ", next(), 4, Panel5, Bind(this, &Tadd_edit::Button19Click));
  DBNavigator1 = &MakeControl<TDBNavigator>(*this, "DBNavigator1", next(), 4, 120, 26, Panel5);
  left += 50;
  DBNavigator1->SetVisibleButtons({nbFirst, nbPrior, nbNext, nbLast});
  DBNavigator1->SetDataSource(DataSource10);
  Button11 = MakeButton(*this, "Button11", "ยกเลิก", next(), 4, Panel5, Bind(this, &Tadd_edit::Button11Click));
  Button10 = MakeButton(*this, "Button10", "บันทึก", next(), 4, Panel5);
  Button13 = MakeButton(*this, "Button13", "พิมพ์", next(), 4, Panel5, Bind(this, &Tadd_edit::Button13Click));
  Button3 = MakeButton(*this, "Button3", "เ&ลิก", next(), 4, Panel5, [this](TObject*) { Close(); });
}

void Tadd_edit::BuildHeaderFields() {
  Edit5 = MakeBox(*this, "Edit5", "ชื่อผู้ใช้งาน", 8, 78, 280);
  Button14 = MakeButton(*this, "Button14", "ค้นหา", 412, 76, nullptr, Bind(this, &Tadd_edit::Button14Click));
  Edit11 = MakeBox(*this, "Edit11", "เลขใบสำคัญ", 496, 78, 150);
  Edit12 = MakeBox(*this, "Edit12", "วันที่", 496, 104, 100);
  Edit2 = MakeBox(*this, "Edit2", "ที่อยู่", 8, 104, 280);
  Edit13 = MakeBox(*this, "Edit13", "", 8, 130, 280);
  Edit14 = MakeBox(*this, "Edit14", "จังหวัด", 8, 156, 160);
  Edit15 = MakeBox(*this, "Edit15", "รหัส ปณ.", 300, 156, 60);
  for (TEdit* box : {Edit5, Edit11, Edit12, Edit2, Edit13, Edit14, Edit15}) box->SetReadOnly(true);
}

void Tadd_edit::BuildPages() {
  PageControl1 = &MakeControl<TPageControl>(*this, "PageControl1", 0, 186, 820, 334);
  main = new TTabSheet(this);
  edit = new TTabSheet(this);
  find_room = new TTabSheet(this);
  find_bill = new TTabSheet(this);
  for (TTabSheet* page : {main, edit, find_room, find_bill}) {
    page->SetPageControl(PageControl1);
    page->SetTabVisible(false);
  }
  DBGrid2 = &MakeControl<TDBGrid>(*this, "DBGrid2", 4, 4, 800, 260, main);
  DBGrid2->SetDataSource(DataSource2);
  DBGrid2->SetReadOnly(true);
  AddColumn(*DBGrid2, "accessory_no", kind_.site_code_label);
  AddColumn(*DBGrid2, "accessory_name", kind_.site_name_label);
  AddColumn(*DBGrid2, "check_in", "วันเริ่มต้น");
  AddColumn(*DBGrid2, "check_out", "วันที่สิ้นสุด");
  AddColumn(*DBGrid2, "qty", "จำนวน");
  AddColumn(*DBGrid2, "unit", "หน่วยนับ");
  AddColumn(*DBGrid2, "price", "ราคา/หน่วย");
  AddColumn(*DBGrid2, "disc_rate", "ลด %");
  AddColumn(*DBGrid2, "total", "รวม");
  Panel2 = &MakeControl<TPanel>(*this, "Panel2", 4, 270, 300, 34, main);
  Button5 = MakeButton(*this, "Button5", "เพิ่ม", 4, 4, Panel2);
  Button6 = MakeButton(*this, "Button6", "แก้ไข", 80, 4, Panel2);
  Button7 = MakeButton(*this, "Button7", "ลบ", 156, 4, Panel2);
  BuildLinePage();
  BuildSiteSearchPage();
  BuildVoucherSearchPage();
}

void Tadd_edit::BuildSiteSearchPage() {
  RadioGroup4 = &MakeControl<TRadioGroup>(*this, "RadioGroup4", 4, 4, 300, 60, find_room);
  RadioGroup4->SetCaption("  ค้นหาโดย  ");
  RadioGroup4->SetItems({kind_.site_code_label, kind_.site_name_label});
  RadioGroup4->OnClick = [this](TObject*) { Edit7->SetFocus(); };
  Edit7 = &MakeControl<TEdit>(*this, "Edit7", 320, 20, 200, 22, find_room);
  Edit7->OnKeyPress = Bind(this, &Tadd_edit::Edit6KeyPress);
  DBGrid5 = &MakeControl<TDBGrid>(*this, "DBGrid5", 4, 70, 600, 220, find_room);
  DBGrid5->SetDataSource(DataSource5);
  DBGrid5->SetReadOnly(true);
  AddColumn(*DBGrid5, "accessory_no", kind_.site_code_label);
  AddColumn(*DBGrid5, "accessory_name", kind_.site_name_label);
  DBGrid5->OnCellClick = Bind(this, &Tadd_edit::DBGrid5CellClick);
  Button17 = MakeButton(*this, "Button17", "กลับ", 620, 70, find_room, Bind(this, &Tadd_edit::Button17Click));
}

void Tadd_edit::BuildVoucherSearchPage() {
  Edit16 = &MakeControl<TEdit>(*this, "Edit16", 4, 8, 200, 22, find_bill);
  Edit16->OnKeyPress = Bind(this, &Tadd_edit::Edit16KeyPress);
  DBGrid4 = &MakeControl<TDBGrid>(*this, "DBGrid4", 4, 40, 400, 240, find_bill);
  DBGrid4->SetDataSource(DataSource10);
  DBGrid4->SetReadOnly(true);
  AddColumn(*DBGrid4, "work_no", "รหัส");
  AddColumn(*DBGrid4, "work_date", "วันที่");
  DBGrid4->OnCellClick = Bind(this, &Tadd_edit::DBGrid4CellClick);
  Button21 = MakeButton(*this, "Button21", "กลับ", 420, 40, find_bill, Bind(this, &Tadd_edit::Button21Click));
}

std::string Tadd_edit::SeriesHead() const {
  return Prefixes[kind_.prefix_number - 1] + kind_.kind_digit;
}

void Tadd_edit::SetHeaderEntryState() {
  DBNavigator1->SetEnabled(false);
  for (TButton* button : {Button20, Button16, Button18, Button19, Button13}) button->SetEnabled(false);
  for (TButton* button : {Button10, Button11, Button14}) button->SetEnabled(true);
  Edit12->SetReadOnly(false);
}

void Tadd_edit::SetHeaderBrowseState() {
  const bool has_vouchers = q_master.Rows().Active() && !q_master.Rows().IsEmpty();
  DBNavigator1->SetEnabled(true);
  Button20->SetEnabled(true);
  Button16->SetEnabled(true);
  for (TButton* button : {Button18, Button19, Button13}) button->SetEnabled(has_vouchers);
  for (TButton* button : {Button10, Button11, Button14}) button->SetEnabled(false);
  Edit12->SetReadOnly(true);
}

void Tadd_edit::FormCreate(TObject*) {
  SetTop(1);
  SetLeft(1);
  SetupPending = 1;
}

void Tadd_edit::FormActivate(TObject*) {
  if (SetupPending == 1) {
    Button12->SetEnabled(true);
    SetHeaderBrowseState();
    LoadPrefixesAndVat();
    RadioGroup5->SetItemIndex(0);
    PageControl1->SetActivePage(main);
    Panel2->Hide();
    Panel5->Hide();
    Edit1->Clear();
    Edit8->Clear();
    Edit7->Clear();
    Edit1->SetFocus();
    ReadSettings();
    SetupPending = 0;
  }
  if (EnteringHeader()) TakeOverPickedMember();
}

void Tadd_edit::FormClose(TObject*, TCloseAction& action) {
  Database1.Close();
  action = caFree;
}

void Tadd_edit::LoadPrefixesAndVat() {
  query_temp.Open({{" select prefix1,prefix2,prefix3,prefix4,tax_rate,tax_status from sys_sys "}, {}});
  TDataSet& settings = query_temp.Rows();
  if (settings.IsEmpty()) return;
  for (size_t i = 0; i < Prefixes.size(); ++i) Prefixes[i] = Text(settings, ("prefix" + std::to_string(i + 1)).c_str());
  myVar.VatRate = settings.FieldByName("tax_rate")->AsFloat();
}

void Tadd_edit::ReadSettings() {
  query_temp.Open({{" select tax_status,view1,com_port,type_business,prefix1,prefix3,type_business2 from sys_sys "},
                   {}});
  TDataSet& settings = query_temp.Rows();
  if (settings.IsEmpty()) return;
  const std::string tax_status = Text(settings, "tax_status");
  if (tax_status == "0") myVar.VatRate = 0;
  if (tax_status == "1") myVar.VatRate = 7;
  const std::string view1 = Text(settings, "view1");
  if (view1 == "0" || view1 == "1" || view1 == "2") myVar.DocTitleChoice = view1;
  myVar.BusinessType = Text(settings, "type_business");
  myVar.ContractRequired = Text(settings, "type_business2");
  Prefixes[0] = Text(settings, "prefix1");
  Prefixes[2] = Text(settings, "prefix3");
}

void Tadd_edit::Button12Click(TObject*) {
  PageControl1->SetActivePage(find_room);
  OpenSiteList();
  Edit7->Clear();
  Edit7->SetFocus();
}

void Tadd_edit::OpenSiteList() {
  Query_Find_Acc.Open({{std::string(" select * from ") + kind_.site_table + " "}, {}});
}

void Tadd_edit::Edit6KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  const char* column = RadioGroup4->ItemIndex() == 1 ? "accessory_name" : "accessory_no";
  if (Query_Find_Acc.Rows().Locate(column, Variant(Edit7->Text()), TLocateOptions{loPartialKey})) {
    Button17->SetFocus();
  } else {
    ShowMessage(kSiteSearchMiss);
  }
}

void Tadd_edit::DBGrid5CellClick(TColumn*) {
  PickSite();
}

void Tadd_edit::Button17Click(TObject*) {
  PickSite();
}

void Tadd_edit::PickSite() {
  PageControl1->SetActivePage(main);
  Button13->SetEnabled(false);
  TDataSet& sites = Query_Find_Acc.Rows();
  if (sites.IsEmpty()) return;
  Edit1->SetText(Text(sites, "accessory_no"));
  Edit8->SetText(Text(sites, "accessory_name"));
  SiteCode = Edit1->Text();
  LoadSiteVouchers();
  Panel5->Show();
  Panel2->SetVisible(!q_master.Rows().IsEmpty());
}

void Tadd_edit::Edit1KeyPress(TObject*, char32_t& key) {
  if (key != U'\r' || Edit1->Text().empty()) return;
  key = 0;
  if (!CheckSiteCode()) {
    ShowMessage(kSiteNotFound);
    Edit1->Clear();
    Edit7->Clear();
    PageControl1->SetActivePage(main);
    return;
  }
  Button12->SetEnabled(false);
  Button13->SetEnabled(false);
  if (!Query_Find_Acc.Rows().Active()) OpenSiteList();
  PageControl1->SetActivePage(main);
  FindRentOfSite();
}

bool Tadd_edit::CheckSiteCode() {
  q_find1.Open({{std::string(" select * from ") + kind_.site_table + " ", " where accessory_no =:qroom_no "},
                {{"qroom_no", Variant(Edit1->Text())}}});
  TDataSet& site = q_find1.Rows();
  Edit8->SetText(site.IsEmpty() ? std::string() : Text(site, "accessory_name"));
  if (site.IsEmpty()) return false;
  if (Text(site, "live") == "2" || myVar.ContractRequired == "0") return true;
  if (myVar.ContractRequired == "1") {
    ShowMessage(kNoContract);
    SetAsideEntry();
  }
  return false;
}

void Tadd_edit::FindRentOfSite() {
  query_temp.Open({{" select  rent_no, room_price_level from g_rent ", " where room_no = :p_room_no ",
                    " and rent_live = '2' "},
                   {{"p_room_no", Variant(Edit1->Text())}}});
  if (!query_temp.Rows().IsEmpty()) MemberNo = Text(query_temp.Rows(), "rent_no");
}

void Tadd_edit::SetAsideEntry() {
  if (q_find2.Rows().IsEmpty()) {
    ShowMessage(kNothingToSetAside);
  } else if (MessageDlg(kSetAsideQuestion, mtConfirmation, mbYesNo) == mrYes) {
    Database1.Close();
  } else {
    Edit1->SetFocus();
    return;
  }
  Button12->SetEnabled(true);
  Button13->SetEnabled(true);
  Edit1->Clear();
  Edit8->Clear();
  Edit7->Clear();
  PageControl1->SetActivePage(main);
  Panel2->Hide();
  Edit1->SetFocus();
}

void Tadd_edit::LoadSiteVouchers() {
  q_master.Open({{" select * from  g_temple_2 ", " where work_room =:q_p_no ",
                  " and substring(work_no from 1 for 5)=:q_prefix ", " order by work_no "},
                 {{"q_p_no", Variant(SiteCode)}, {"q_prefix", Variant(SeriesHead())}}});
  q_master.Rows().Last();
  ShowHeader();
}

void Tadd_edit::LoadLines(const std::string& work_no) {
  q_find2.Open({{" select * from h_temple ", " where work_no =:q_work_no ", " order by work_id "},
                {{"q_work_no", Variant(work_no)}}});
}

void Tadd_edit::DataSource10DataChange(TObject*, TField* field) {
  if (field == nullptr && q_master.Rows().Active()) ShowHeader();
}

void Tadd_edit::ShowHeader() {
  TDataSet& vouchers = q_master.Rows();
  if (vouchers.IsEmpty()) {
    ClearHeaderFields();
    Edit11->Clear();
    Edit12->Clear();
    LoadLines({});
    SetHeaderBrowseState();
    return;
  }
  VoucherNumber = Text(vouchers, "work_no");
  Edit11->SetText(VoucherNumber);
  Edit12->SetText(DateToThaiText(vouchers.FieldByName("work_date")->AsDateTime()));
  ShowMember(Text(vouchers, "mem_no"));
  SetHeaderBrowseState();
  LoadLines(VoucherNumber);
}

void Tadd_edit::ClearHeaderFields() {
  for (TEdit* box : {Edit5, Edit2, Edit13, Edit14, Edit15}) box->Clear();
}

void Tadd_edit::ShowMember(const std::string& mem_no) {
  Query_mem.Open({{std::string(" select * from ") + kind_.member_table + " ", " where mem_no =:q_mem_no "},
                  {{"q_mem_no", Variant(mem_no)}}});
  TDataSet& member = Query_mem.Rows();
  if (member.IsEmpty()) {
    ClearHeaderFields();
    return;
  }
  MemberNo = Text(member, "mem_no");
  Edit5->SetText(Text(member, "mem_name"));
  Edit2->SetText(Text(member, "mem_add1"));
  Edit13->SetText(Text(member, "mem_add2"));
  Edit14->SetText(Text(member, "mem_add4"));
  Edit15->SetText(Text(member, "mem_zip"));
}

void Tadd_edit::TakeOverPickedMember() {
  if (myVar.PickedMemberNo.empty()) return;
  ShowMember(myVar.PickedMemberNo);
}

void Tadd_edit::Button16Click(TObject*) {
  Button12->SetEnabled(false);
  HeaderState = kVoucherAdd;
  SetHeaderEntryState();
  PageControl1->SetActivePage(main);
  Panel2->Hide();
  Edit11->SetText(kNewVoucherNumberText);
  Edit12->SetText(DateToThaiText(Date()));
  ClearHeaderFields();
  // A new voucher names the member picked for it, never the one shown before.
  MemberNo.clear();
  DataSource2->SetEnabled(false);
}

void Tadd_edit::Button18Click(TObject*) {
  Button12->SetEnabled(false);
  SetHeaderEntryState();
  HeaderState = kVoucherEdit;
  PageControl1->SetActivePage(main);
  Panel2->Hide();
}

void Tadd_edit::Button11Click(TObject*) {
  Button12->SetEnabled(true);
  SetHeaderBrowseState();
  HeaderState = kVoucherNormal;
  Panel2->Show();
  DataSource2->SetEnabled(true);
  ShowHeader();
}

void Tadd_edit::Button19Click(TObject*) {
  if (!q_find2.Rows().IsEmpty()) {
    ShowMessage(kVoucherHasLines);
    return;
  }
  if (MessageDlg(kConfirmVoucherDelete, mtConfirmation, mbYesNo) != mrYes) return;
  q_master_edit->Close();
  q_master_edit->SQL().Clear();
  q_master_edit->SQL().Add(" delete from g_temple_2 ");
  q_master_edit->SQL().Add(" where work_no =:pbill_no ");
  q_master_edit->Prepare();
  q_master_edit->ParamByName("pbill_no")->SetValue(Variant(Edit11->Text()));
  q_master_edit->ExecSQL();
  q_master_edit->Close();
  LoadSiteVouchers();
}

void Tadd_edit::Button14Click(TObject*) {
  kind_.open_member_register();
}

void Tadd_edit::Button20Click(TObject*) {
  PageControl1->SetActivePage(find_bill);
  Edit16->SetFocus();
}

void Tadd_edit::Edit16KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  q_master.Rows().Locate("work_no", Variant(Edit16->Text()), TLocateOptions{loPartialKey});
  PageControl1->SetActivePage(main);
}

void Tadd_edit::DBGrid4CellClick(TColumn*) {
  Edit16->SetText(Text(q_master.Rows(), "work_no"));
}

void Tadd_edit::Button21Click(TObject*) {
  PageControl1->SetActivePage(main);
}
