// The line page of the usage voucher window: the item picked from the three
// catalogues, what remains of it, meter readings, the amount, the booking
// check, and the line saved to or deleted from h_temple.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/core/RegisterErrorHandlers.h"
#include "app/core/ThaiDateText.h"
#include "app/core/WindowParts.h"
#include "app/core/myVar.h"
#include "app/temple/UsageLine.h"
#include "app/temple/add_edit.h"
#include "platform/db/Field.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/NumberText.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr const char* kSiteItem = "0";
constexpr const char* kMeteredItem = "1";
constexpr const char* kTableOfItem[] = {"g_room", "g_public", "g_accessory"};

TEdit* LineBox(TForm& form, const char* name, const char* caption, int left, int top, TWinControl* parent) {
  MakeLabel(form, std::string("Label_") + name, caption, left, top + 3, 120, parent);
  return &MakeControl<TEdit>(form, name, left + 124, top, 110, 22, parent);
}

// A line's stored columns, set on the live query's current row.
void Set(TDataSet& line, const char* column, const Variant& value) {
  line.FieldByName(column)->SetValue(value);
}

}  // namespace

void Tadd_edit::BuildLinePage() {
  RadioGroup5 = &MakeControl<TRadioGroup>(*this, "RadioGroup5", 4, 4, 200, 90, edit);
  RadioGroup5->SetCaption("  ประเภท    ");
  RadioGroup5->SetItems({kind_.site_item, "ค่าสาธารณูปโภค", "อื่น ๆ"});
  RadioGroup5->OnClick = Bind(this, &Tadd_edit::RadioGroup5Click);
  RadioGroup2 = &MakeControl<TRadioGroup>(*this, "RadioGroup2", 210, 4, 150, 90, edit);
  RadioGroup2->SetCaption("  ค้นหาโดย  ");
  RadioGroup2->SetItems({"รหัส", "ชื่อ"});
  RadioGroup2->SetItemIndex(0);
  RadioGroup2->OnClick = [this](TObject*) { OpenItemCatalogue(); };
  Edit9 = LineBox(*this, "Edit9", "รหัส", 4, 100, edit);
  Edit9->OnKeyPress = Bind(this, &Tadd_edit::Edit9KeyPress);
  Edit10 = LineBox(*this, "Edit10", "ชื่อ", 4, 126, edit);
  Edit10->SetWidth(230);
  Edit10->OnKeyPress = Bind(this, &Tadd_edit::Edit10KeyPress);
  DBGrid3 = &MakeControl<TDBGrid>(*this, "DBGrid3", 370, 4, 300, 150, edit);
  DBGrid3->SetDataSource(DataSource5);
  DBGrid3->SetReadOnly(true);
  TColumn* code = DBGrid3->Columns().Add();
  code->SetFieldName("accessory_no");
  code->SetTitle("รหัส");
  TColumn* name = DBGrid3->Columns().Add();
  name->SetFieldName("accessory_name");
  name->SetTitle("ชื่อ");
  DBGrid3->OnCellClick = Bind(this, &Tadd_edit::DBGrid3CellClick);
  Button15 = &MakeControl<TButton>(*this, "Button15", 680, 4, 72, 26, edit);
  Button15->SetCaption("Refresh");
  Button15->OnClick = [this](TObject*) { OpenItemCatalogue(); };
  MaskEdit1 = LineBox(*this, "MaskEdit1", "ตั้งแต่วันที่", 4, 160, edit);
  MaskEdit2 = LineBox(*this, "MaskEdit2", "ถึงวันที่", 4, 186, edit);
  Panel1 = &MakeControl<TPanel>(*this, "Panel1", 250, 160, 260, 60, edit);
  Panel1->SetCaption("การวัดการใช้งาน");
  Edit3 = LineBox(*this, "Edit3", "เริ่มต้น (เลขมิเตอร์)", 4, 4, Panel1);
  Edit4 = LineBox(*this, "Edit4", "สิ้นสุดวัด (เลขมิเตอร์)", 4, 30, Panel1);
  Edit3->OnKeyPress = Bind(this, &Tadd_edit::MeterKeyPress);
  Edit4->OnKeyPress = Bind(this, &Tadd_edit::MeterKeyPress);
  MaskEdit11 = LineBox(*this, "MaskEdit11", "จำนวนคงเหลือ", 520, 160, edit);
  MaskEdit11->SetReadOnly(true);
  Label_MaskEdit11 = dynamic_cast<TLabel*>(FindComponent("Label_MaskEdit11"));
  MaskEdit12 = LineBox(*this, "MaskEdit12", "จำนวนใช้งาน", 520, 186, edit);
  MaskEdit13 = LineBox(*this, "MaskEdit13", "ราคาหน่วยละ", 520, 212, edit);
  MaskEdit14 = LineBox(*this, "MaskEdit14", "ลด %", 520, 238, edit);
  MaskEdit14->SetText("0");
  MaskEdit14->OnKeyPress = Bind(this, &Tadd_edit::MaskEdit14KeyPress);
  MaskEdit15 = LineBox(*this, "MaskEdit15", "เป็นเงิน", 520, 264, edit);
  MaskEdit15->SetReadOnly(true);
  Button8 = &MakeControl<TButton>(*this, "Button8", 4, 264, 72, 26, edit);
  Button8->SetCaption("&ยกเลิก");
  Button8->OnClick = Bind(this, &Tadd_edit::Button8Click);
  Button9 = &MakeControl<TButton>(*this, "Button9", 80, 264, 72, 26, edit);
  Button9->SetCaption("บัน&ทึก");
  Button9->OnClick = Bind(this, &Tadd_edit::Button9Click);
  Button5->OnClick = Bind(this, &Tadd_edit::Button5Click);
  Button6->OnClick = Bind(this, &Tadd_edit::Button6Click);
  Button7->OnClick = Bind(this, &Tadd_edit::Button7Click);
  BindLineEnterOrder();
  for (TVTRQuery* query : {q_master_edit, q_add_edit, Q_Delete}) {
    query->SetDatabaseName(Database1.DatabaseName());
    query->SetRequestLive(true);
  }
  BindRegisterErrorHandlers(*q_master_edit);
  BindRegisterErrorHandlers(*q_add_edit);
}

void Tadd_edit::BindLineEnterOrder() {
  const auto moves = [](TWinControl* next) {
    return [next](TObject*, char32_t& key) {
      if (key != U'\r') return;
      key = 0;
      next->SetFocus();
    };
  };
  MaskEdit1->OnKeyPress = moves(MaskEdit2);
  MaskEdit2->OnKeyPress = [this](TObject*, char32_t& key) {
    if (key != U'\r') return;
    key = 0;
    (ItemType() == kMeteredItem ? Edit3 : MaskEdit12)->SetFocus();
  };
  MaskEdit11->OnKeyPress = moves(MaskEdit12);
  MaskEdit12->OnKeyPress = moves(MaskEdit13);
  MaskEdit13->OnKeyPress = moves(MaskEdit14);
}

std::string Tadd_edit::ItemType() const {
  return std::to_string(std::max(RadioGroup5->ItemIndex(), 0));
}

void Tadd_edit::Button5Click(TObject*) {
  LineState = kVoucherAdd;
  OldLineQty = 0;
  price_level_.clear();
  Button12->SetEnabled(false);
  Panel5->SetEnabled(false);
  PageControl1->SetActivePage(edit);
  ClearLineFields();
  RadioGroup2->SetItemIndex(0);
  // Through the metered type, so that the type change runs for the site itself.
  RadioGroup5->SetItemIndex(1);
  RadioGroup5->SetItemIndex(0);
  ShowFieldsForItemType();
}

void Tadd_edit::Button6Click(TObject*) {
  if (q_find2.Rows().IsEmpty()) return;
  PageControl1->SetActivePage(edit);
  Button12->SetEnabled(false);
  Panel5->SetEnabled(false);
  RadioGroup2->SetItemIndex(0);
  LineState = kVoucherEdit;
  OldLineQty = q_find2.Rows().FieldByName("qty")->AsFloat();
  LoadLineForEdit();
}

void Tadd_edit::RadioGroup5Click(TObject*) {
  // Only a line being entered changes with the type.
  if (PageControl1->ActivePage() != edit) return;
  const bool site = ItemType() == kSiteItem;
  Edit9->SetReadOnly(site);
  Edit10->SetReadOnly(site);
  DBGrid3->SetEnabled(!site || myVar.ContractRequired != "1");
  OpenItemCatalogue();
  ShowFieldsForItemType();
}

void Tadd_edit::OpenItemCatalogue() {
  const bool by_name = RadioGroup2->ItemIndex() == 1;
  Query_Find_Acc.Open({{std::string(" select * from ") + kTableOfItem[std::stoi(ItemType())] + " ",
                        by_name ? " order by accessory_name " : " order by accessory_no "},
                       {}});
  ClearLineFields();
  (by_name ? Edit10 : Edit9)->SetFocus();
  if (ItemType() == kSiteItem) {
    Edit9->SetText(Edit1->Text());
    PickItem(Edit9->Text(), false);
  }
}

void Tadd_edit::ShowFieldsForItemType() {
  const std::string type = ItemType();
  Label_MaskEdit11->SetVisible(type == "2");
  MaskEdit11->SetVisible(type == "2");
  Panel1->SetVisible(type == kMeteredItem);
}

void Tadd_edit::ClearLineFields() {
  for (TEdit* box : {Edit9, Edit10, MaskEdit1, MaskEdit2, MaskEdit11, MaskEdit12, MaskEdit13, MaskEdit14, MaskEdit15})
    box->Clear();
  Edit3->SetText("0");
  Edit4->SetText("0");
}

bool Tadd_edit::PickItem(const std::string& text, bool by_name) {
  TDataSet& items = Query_Find_Acc.Rows();
  items.First();
  if (text.empty() || !items.Locate(by_name ? "accessory_name" : "accessory_no", Variant(text),
                                    TLocateOptions{loPartialKey})) {
    item_ = {};
    ClearLineFields();
    ShowMessage(kItemNotFound);
    return false;
  }
  const std::string stored_type = items.FieldByName("accessory_type")->AsString();
  item_ = {items.FieldByName("accessory_no")->AsString(), items.FieldByName("accessory_name")->AsString(),
           stored_type.empty() ? ItemType() : stored_type, items.FieldByName("cut_stock")->AsString(),
           items.FieldByName("unit")->AsString()};
  const std::string price = items.FieldByName("price_1")->AsString();
  const bool keeps_stock = item_.cut_stock == "Y";
  Label_MaskEdit11->SetVisible(keeps_stock);
  MaskEdit11->SetVisible(keeps_stock);
  MaskEdit11->SetText(FloatToStr(RemainingStock(item_.code)));
  Edit9->SetText(item_.code);
  Edit10->SetText(item_.name);
  MaskEdit1->SetText(DateToThaiText(Date()));
  MaskEdit2->SetText(DateToThaiText(Date()));
  MaskEdit12->SetText("1");
  MaskEdit13->SetText(price.empty() ? "0" : price);
  MaskEdit14->SetText("0");
  MaskEdit15->SetText("0.00");
  MaskEdit1->SetFocus();
  return true;
}

double Tadd_edit::RemainingStock(const std::string& code) {
  query_temp.Open({{" select accessory_no , qty  from h_fill ", " where accessory_no =:q_accessory_no "},
                   {{"q_accessory_no", Variant(code)}}});
  std::vector<double> received;
  TDataSet& fills = query_temp.Rows();
  for (fills.First(); !fills.Eof(); fills.Next()) received.push_back(fills.FieldByName("qty")->AsFloat());
  query_temp.Open({{"select accessory_no , qty , stk_post from h_temple", " where accessory_no =:q_accessory_no "},
                   {{"q_accessory_no", Variant(code)}}});
  std::vector<UsedQuantity> used;
  TDataSet& lines = query_temp.Rows();
  for (lines.First(); !lines.Eof(); lines.Next())
    used.push_back({lines.FieldByName("qty")->AsFloat(), lines.FieldByName("stk_post")->AsInteger()});
  const double returned = LineState == kVoucherEdit ? OldLineQty : 0;
  return ::RemainingStock(item_.cut_stock, item_.type, received, used, returned);
}

void Tadd_edit::DBGrid3CellClick(TColumn*) {
  TDataSet& items = Query_Find_Acc.Rows();
  if (items.IsEmpty()) return;
  if (ItemType() == kSiteItem) {
    ShowMessage("คุณเลือกอาคาร - ที่ดิน   รหัส : " + Edit9->Text() + " ชื่อ : " + Edit10->Text() + " แล้ว");
    return;
  }
  const bool by_name = RadioGroup2->ItemIndex() == 1;
  PickItem(items.FieldByName(by_name ? "accessory_name" : "accessory_no")->AsString(), by_name);
}

void Tadd_edit::Edit9KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  PickItem(Edit9->Text(), RadioGroup2->ItemIndex() == 1);
}

void Tadd_edit::Edit10KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  if (RadioGroup2->ItemIndex() == 1) {
    PickItem(Edit10->Text(), true);
  } else {
    MaskEdit12->SetFocus();
  }
}

void Tadd_edit::MeterKeyPress(TObject* sender, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  MaskEdit12->SetText(FloatToStr(MeterQuantity(StrToFloat(Edit3->Text()), StrToFloat(Edit4->Text()))));
  (sender == Edit3 ? static_cast<TWinControl*>(Edit4) : MaskEdit13)->SetFocus();
}

double Tadd_edit::LineAmount() const {
  return LineTotal(StrToFloat(MaskEdit12->Text()), StrToFloat(MaskEdit13->Text()), StrToFloat(MaskEdit14->Text()));
}

void Tadd_edit::MaskEdit14KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  MaskEdit15->SetText(FloatToStr(LineAmount()));
  Button9->SetFocus();
}

void Tadd_edit::LoadLineForEdit() {
  TDataSet& selected = q_find2.Rows();
  q_add_edit->Close();
  q_add_edit->SQL().Clear();
  for (const char* line :
       {" select * from h_temple where ", " work_no =:v_work_no ", " and work_id =:v_work_id ", " order by work_id "})
    q_add_edit->SQL().Add(line);
  q_add_edit->Prepare();
  q_add_edit->ParamByName("v_work_no")->SetValue(Variant(selected.FieldByName("work_no")->AsString()));
  q_add_edit->ParamByName("v_work_id")->SetValue(Variant(selected.FieldByName("work_id")->AsInteger()));
  q_add_edit->Open();
  if (q_add_edit->IsEmpty()) {
    ShowMessage(kLineNotFound);
    return;
  }
  TDataSet& line = *q_add_edit;
  const std::string type = line.FieldByName("accessory_type")->AsString();
  if (!type.empty() && type != ItemType()) {
    RadioGroup5->SetItemIndex(std::stoi(type));
  } else {
    OpenItemCatalogue();
  }
  PickItem(line.FieldByName("accessory_no")->AsString(), false);
  Edit9->SetText(line.FieldByName("accessory_no")->AsString());
  Edit10->SetText(line.FieldByName("accessory_name")->AsString());
  Edit3->SetText(FloatToStr(line.FieldByName("check_first")->AsFloat()));
  Edit4->SetText(FloatToStr(line.FieldByName("check_last")->AsFloat()));
  MaskEdit12->SetText(FloatToStr(line.FieldByName("qty")->AsFloat()));
  MaskEdit13->SetText(FloatToStr(line.FieldByName("price")->AsFloat()));
  price_level_ = line.FieldByName("price_level")->AsString();
  MaskEdit14->SetText(FloatToStr(line.FieldByName("disc_rate")->AsFloat()));
  MaskEdit1->SetText(DateToThaiText(line.FieldByName("check_in")->AsDateTime()));
  MaskEdit2->SetText(DateToThaiText(line.FieldByName("check_out")->AsDateTime()));
  MaskEdit15->SetText(FloatToStr(LineAmount()));
  MaskEdit12->SetFocus();
}

bool Tadd_edit::SiteIsBooked(TDateTime from, TDateTime to) {
  query_temp.Open({{"select mem_no, room_no , book_beg , book_end , fg_book from h_booking_detail ",
                    " where room_no =:q_room_no ", " and fg_book = '1' ",
                    " and ((book_beg <= :mBegin and book_end >= :mEnd) ",
                    " or (book_beg >= :mBeginOuter and book_end <= :mEndOuter)) "},
                   {{"q_room_no", Variant(Edit9->Text())},
                    {"mBegin", Variant::Date(from)},
                    {"mEnd", Variant::Date(to)},
                    {"mBeginOuter", Variant::Date(from)},
                    {"mEndOuter", Variant::Date(to)}}});
  return !query_temp.Rows().IsEmpty();
}

void Tadd_edit::Button9Click(TObject*) {
  const std::optional<TDateTime> from = ReadThaiDate(MaskEdit1->Text());
  if (!from) return;
  const std::optional<TDateTime> to = ReadThaiDate(MaskEdit2->Text());
  if (!to) return;
  const double qty = StrToFloat(MaskEdit12->Text());
  bool stock_enough = true;
  if (item_.cut_stock == "Y") {
    // Counted again: another user's lines saved since the pick count too.
    const double remaining = RemainingStock(item_.code);
    MaskEdit11->SetText(FloatToStr(remaining));
    stock_enough = remaining - qty >= 0;
    if (!stock_enough) ShowMessage(kNotEnoughStock + MaskEdit11->Text());
  }
  if (item_.type == kSiteItem && SiteIsBooked(*from, *to) &&
      MessageDlg(kSiteBookedQuestion, mtConfirmation, mbYesNo) != mrYes)
    return;
  if (!stock_enough) return;
  StoreLine(*from, *to);
  const std::string saved_id = LineState == kVoucherEdit ? q_find2.Rows().FieldByName("work_id")->AsString() : "";
  LoadLines(VoucherNumber);
  if (saved_id.empty()) {
    q_find2.Rows().Last();
  } else {
    q_find2.Rows().Locate("work_id", Variant(saved_id), TLocateOptions{});
  }
  EndLineEntry();
}

void Tadd_edit::StoreLine(TDateTime from, TDateTime to) {
  if (LineState != kVoucherEdit) {
    q_add_edit->Close();
    q_add_edit->SQL().Clear();
    q_add_edit->SQL().Add("select * from  h_temple");
    q_add_edit->Open();
    q_add_edit->Append();
  } else {
    q_add_edit->Edit();
  }
  TDataSet& line = *q_add_edit;
  Set(line, "work_no", Variant(VoucherNumber));
  Set(line, "work_date", Variant::Date(Date()));
  Set(line, "work_room", Variant(SiteCode));
  Set(line, "mem_no", Variant(MemberNo));
  Set(line, "mem_grade", Variant(""));
  Set(line, "tag", Variant(""));
  Set(line, "accessory_no", Variant(Edit9->Text()));
  Set(line, "accessory_name", Variant(Edit10->Text()));
  Set(line, "accessory_type", Variant(item_.type));
  Set(line, "check_in", Variant::Date(from));
  Set(line, "check_out", Variant::Date(to));
  Set(line, "check_first", Variant(StrToFloat(Edit3->Text())));
  Set(line, "check_last", Variant(StrToFloat(Edit4->Text())));
  Set(line, "qty", Variant(StrToFloat(MaskEdit12->Text())));
  Set(line, "unit", Variant(item_.unit));
  Set(line, "price", Variant(StrToFloat(MaskEdit13->Text())));
  Set(line, "price_level", Variant(price_level_));
  Set(line, "disc_rate", Variant(StrToFloat(MaskEdit14->Text())));
  Set(line, "tax_rate", Variant(myVar.VatRate));
  Set(line, "total", Variant(LineAmount()));
  Set(line, "per_percent", Variant(0.0));
  Set(line, "per_price", Variant(0.0));
  Set(line, "staff_no", Variant(myVar.CurrentStaffNo));
  Set(line, "fg_clear", Variant("1"));
  Set(line, "stk_post", Variant(StockPostOf(item_.cut_stock, item_.type)));
  q_add_edit->Post();
  q_add_edit->Close();
}

void Tadd_edit::Button8Click(TObject*) {
  q_add_edit->Close();
  EndLineEntry();
}

void Tadd_edit::EndLineEntry() {
  Button12->SetEnabled(true);
  PageControl1->SetActivePage(main);
  Panel5->SetEnabled(true);
  Button5->SetFocus();
}

void Tadd_edit::Button7Click(TObject*) {
  TDataSet& lines = q_find2.Rows();
  if (lines.IsEmpty()) return;
  if (MessageDlg(kConfirmLineDelete, mtConfirmation, mbYesNo) == mrYes) {
    Q_Delete->Close();
    Q_Delete->SQL().Clear();
    for (const char* line :
         {" select work_no, work_id from h_temple ", " where work_no =:q_work_no and ", " work_id =:q_work_id "})
      Q_Delete->SQL().Add(line);
    Q_Delete->Prepare();
    Q_Delete->ParamByName("q_work_no")->SetValue(Variant(lines.FieldByName("work_no")->AsString()));
    Q_Delete->ParamByName("q_work_id")->SetValue(Variant(lines.FieldByName("work_id")->AsString()));
    Q_Delete->Open();
    if (!Q_Delete->IsEmpty()) Q_Delete->Delete();
    Q_Delete->Close();
  }
  LoadLines(VoucherNumber);
}
