// The line side of the donation window: the line list and its total, the line
// entry panel with the purpose catalogue, and the saving and deleting of lines,
// each in a transaction of its own.
#include <exception>
#include <string>
#include <vector>

#include "app/core/ColumnSum.h"
#include "app/core/LockedRead.h"
#include "app/core/ThaiDateText.h"
#include "app/core/WindowParts.h"
#include "app/donation/ReportParts.h"
#include "app/donation/cdonate.h"
#include "platform/db/DB.h"
#include "platform/db/DataSource.h"
#include "platform/db/NumericFields.h"
#include "platform/rtl/FloatText.h"
#include "platform/rtl/NumberText.h"
#include "platform/ui/Dialogs.h"

namespace {

const std::vector<std::string> kLinesStatement{" select * from donate  where bill_no =:qbill_no  order by bill_id "};
const std::vector<std::string> kTotalStatement{" Select bill_no, total, tax_rate from donate ",
                                               " where bill_no =:p_post_inv_no "};
const std::vector<std::string> kPurposes{"select * from  m_donate"};
const std::vector<std::string> kPurposesByCode{" select * from m_donate ", " order by accessory_no "};
const std::vector<std::string> kPurposeOfCode{" select accessory_type, cut_stock from m_donate ",
                                              " where accessory_no =:qaccessory_no "};

const std::vector<std::string> kInsertLine{
    " insert into donate ",
    " (bill_no, bill_date, cust_no, accessory_no, accessory_name, accessory_type, accessory_sn,",
    " proj_no ,  proj_type , qty , unit_name , price, disc_rate , tax_status , tax_rate , ",
    " warn_term , warn_date , total , p_bill , ",
    " fg_clear , fg_end , stk_post , sale_no ) ",
    " values ",
    " (:pbill_no,:pbill_date,:pcust_no, ",
    " :paccessory_no,:paccessory_name,:paccessory_type,:paccessory_sn, ",
    " :pproj_no,:pproj_type,:pqty,:punit_name,:pprice,:pdisc_rate,:ptax_status,:ptax_rate, ",
    " :pwarn_term,:pwarn_date,:ptotal,:pp_bill,:pfg_clear,:pfg_end,:pstk_post,:psale_no ) "};
const std::vector<std::string> kUpdateLine{
    " update donate ",
    " set ",
    " bill_no=:pbill_no,bill_date=:pbill_date, ",
    " cust_no=:pcust_no,accessory_no=:paccessory_no,accessory_name=:paccessory_name, ",
    " accessory_type=:paccessory_type,accessory_sn=:paccessory_sn,proj_no=:pproj_no,proj_type=:pproj_type,qty=:pqty, ",
    " unit_name=:punit_name,price=:pprice, ",
    " disc_rate=:pdisc_rate,tax_status=:ptax_status, ",
    " tax_rate=:ptax_rate,warn_term=:pwarn_term,warn_date=:pwarn_date, ",
    " total=:ptotal,p_bill=:pp_bill,fg_clear=:pfg_clear,fg_end=:pfg_end, ",
    " stk_post=:pstk_post,sale_no=:psale_no  ",
    " where bill_id =:pbill_id "};
const std::vector<std::string> kDeleteLine{" delete from donate ", " where bill_id =:q_bill_id "};

constexpr std::string_view kTotalMask = "##,###,##0.00";
constexpr std::string_view kLineTotalMask = "###,###,##0.00";
// Stock posting of a line: a purpose that keeps no stock, and one that does.
constexpr int32_t kNoStockPost = 5;
constexpr int32_t kStockPost = 1;
constexpr int kByCode = 0;

struct LineAmounts {
  double qty = 0;
  double price = 0;
  double disc_rate = 0;
  double net = 0;
};

// Raises the class library's conversion error for a text that is no number.
LineAmounts ReadAmounts(const TEdit& qty, const TEdit& price, const TEdit& disc_rate) {
  LineAmounts amounts{StrToFloat(qty.Text()), StrToFloat(price.Text()), StrToFloat(disc_rate.Text())};
  const double amount = amounts.qty * amounts.price;
  amounts.net = amount - amount * amounts.disc_rate / 100;
  return amounts;
}

std::string GeneralText(const TField& field) {
  return FloatToGeneralText(field.AsFloat());
}

}  // namespace

void Tdonate::BuildLines() {
  DBGrid2.SetDataSource(&DataSource2);
  DBGrid2.SetReadOnly(true);
  ShowColumns(DBGrid2, {{"BILL_NO", "เลขที่บริจาค"},
                        {"BILL_DATE", "วันที่"},
                        {"ACCESSORY_NAME", "เงิน หรือ สิ่งของที่บริจาค"},
                        {"QTY", "จำนวน"},
                        {"UNIT_NAME", "หน่วยนับ"},
                        {"PRICE", "ราคา/หน่วย"},
                        {"TOTAL", "รวม"}});
  Label26.SetAutoSize(false);
  Label26.SetAlignment(taRightJustify);
  Button5.OnClick = Bind(this, &Tdonate::Button5Click);
  Button6.OnClick = Bind(this, &Tdonate::Button6Click);
  Button7.OnClick = Bind(this, &Tdonate::Button7Click);
}

void Tdonate::BuildLinePanel() {
  RadioGroup2.SetCaption("ค้นหาโดย");
  RadioGroup2.SetItems({"รหัส", "ชื่อ"});
  RadioGroup2.SetColumns(2);
  RadioGroup2.SetItemIndex(kByCode);
  RadioGroup2.OnClick = Bind(this, &Tdonate::RadioGroup2Click);
  DBGrid3.SetDataSource(&DataSource3);
  DBGrid3.SetReadOnly(true);
  for (const auto& [field, title] :
       std::vector<std::pair<const char*, const char*>>{{"accessory_no", "รหัส"}, {"accessory_name", "ชื่อ"}}) {
    TColumn* column = DBGrid3.Columns().Add();
    column->SetFieldName(field);
    column->SetTitle(title);
  }
  DBGrid3.OnCellClick = Bind(this, &Tdonate::DBGrid3CellClick);
  MakeLabel(*this, "Label12", "จำนวน", 310, 103, 90, &Panel1);
  MakeLabel(*this, "Label13", "ราคาหน่วยละ", 310, 155, 90, &Panel1);
  MakeLabel(*this, "Label14", "ลด %", 500, 155, 40, &Panel1).Hide();
  MakeLabel(*this, "Label15", "เป็นเงิน", 310, 181, 90, &Panel1);
  MaskEdit14.Hide();
  MaskEdit14.SetEnabled(false);
  Edit7.OnKeyPress = Bind(this, &Tdonate::Edit7KeyPress);
  MaskEdit12.OnExit = Bind(this, &Tdonate::MaskEdit12Exit);
  MaskEdit13.OnExit = Bind(this, &Tdonate::MaskEdit13Exit);
  MaskEdit14.OnKeyPress = Bind(this, &Tdonate::MaskEdit14KeyPress);
  Button9.OnClick = Bind(this, &Tdonate::Button9Click);
  Button8.OnClick = Bind(this, &Tdonate::Button8Click);
}

void Tdonate::OpenPurposes(bool ordered) {
  Query_Find_Acc.Open({ordered ? kPurposesByCode : kPurposes, {}});
}

void Tdonate::ShowLines() {
  if (!DataSource2.Enabled()) return;
  // The grid takes the amount's format once it shows the new rows.
  DataSource2.SetEnabled(false);
  try {
    q_find2.Open({kLinesStatement, {{"qbill_no", Variant(current_number_)}}});
  } catch (const std::exception&) {
    DataSource2.SetEnabled(true);
    throw;
  }
  if (auto* total = dynamic_cast<TNumericField*>(q_find2.Rows().FindField("TOTAL")))
    total->SetDisplayFormat(std::string(kLineTotalMask));
  DataSource2.SetEnabled(true);
  const bool lines = HasLines();
  Button6.SetVisible(lines);
  Button7.SetVisible(lines);
  ShowTotal();
}

void Tdonate::ShowTotal() {
  query_temp.Open({kTotalStatement, {{"p_post_inv_no", Variant(current_number_)}}});
  TDataSet& rows = query_temp.Rows();
  const bool none = rows.IsEmpty();
  total_ = none ? Currency() : SumColumn(rows, "total");
  rows.Close();
  Label26.SetCaption(none ? std::string() : total_.Format(kTotalMask));
}

void Tdonate::Button5Click(TObject*) {
  line_state_ = LineState::kAdd;
  SetHeaderButtons(true);
  SetLineButtons(false);
  Panel1.Show();
  RadioGroup2.SetItemIndex(kByCode);
  RadioGroup2.SetEnabled(true);
  Edit9.SetReadOnly(false);
  Edit10.SetReadOnly(false);
  purpose_ = {};
  edited_line_ = {};
  if (HasLines()) {
    staff_no_ = q_find2.Rows().FieldByName("SALE_NO")->AsString();
    edited_line_.proj_no = q_find2.Rows().FieldByName("PROJ_NO")->AsString();
  }
  for (TEdit* box : {&Edit7, &Edit9, &Edit10, static_cast<TEdit*>(&MaskEdit12), static_cast<TEdit*>(&MaskEdit13),
                     static_cast<TEdit*>(&MaskEdit14), static_cast<TEdit*>(&MaskEdit15)})
    box->Clear();
  Edit7.SetFocus();
}

void Tdonate::Button6Click(TObject*) {
  line_state_ = LineState::kEdit;
  SetHeaderButtons(true);
  SetLineButtons(false);
  Panel1.Show();
  RadioGroup2.SetItemIndex(kByCode);
  Edit9.SetReadOnly(true);
  Edit10.SetReadOnly(true);
  TDataSet& line = q_find2.Rows();
  StrToInt(line.FieldByName("ACCESSORY_TYPE")->AsString());
  OpenPurposes(true);
  LocatePurpose(kByCode, line.FieldByName("ACCESSORY_NO")->AsString());
  edited_line_.bill_id = line.FieldByName("BILL_ID")->AsInteger();
  staff_no_ = line.FieldByName("SALE_NO")->AsString();
  LoadLine();
  Edit7.Clear();
  Edit7.SetFocus();
}

void Tdonate::LoadLine() {
  TDataSet& line = q_find2.Rows();
  if (line.IsEmpty()) {
    ShowMessage(std::string(kNoSuchPurposeMessage));
    return;
  }
  edited_line_.proj_no = line.FieldByName("PROJ_NO")->AsString();
  edited_line_.proj_type = line.FieldByName("PROJ_TYPE")->AsString();
  edited_line_.price = GeneralText(*line.FieldByName("PRICE"));
  edited_line_.disc_rate = GeneralText(*line.FieldByName("DISC_RATE"));
  staff_no_ = line.FieldByName("SALE_NO")->AsString();
  Edit9.SetText(line.FieldByName("ACCESSORY_NO")->AsString());
  Edit10.SetText(line.FieldByName("ACCESSORY_NAME")->AsString());
  MaskEdit12.SetText(GeneralText(*line.FieldByName("QTY")));
  Edit8.SetText(line.FieldByName("UNIT_NAME")->AsString());
  MaskEdit13.SetText(edited_line_.price);
  MaskEdit14.SetText(edited_line_.disc_rate);
  RecomputeAmount();
}

void Tdonate::Button8Click(TObject*) {
  line_state_ = LineState::kCancel;
  CloseLinePanel();
  (HasLines() ? Button6 : Button5).SetFocus();
}

void Tdonate::CloseLinePanel() {
  Panel1.Hide();
  SetHeaderButtons(false);
  SetLineButtons(true);
}

bool Tdonate::LocatePurpose(int mode, const std::string& text) {
  TDataSet& purposes = Query_Find_Acc.Rows();
  const bool found = purposes.Active() &&
                     purposes.Locate(mode == kByCode ? "accessory_no" : "accessory_name", Variant(text), {loPartialKey});
  if (found) KeepPurposeOfCurrentRow(mode == kByCode);
  return found;
}

void Tdonate::KeepPurposeOfCurrentRow(bool with_cut_stock) {
  TDataSet& row = Query_Find_Acc.Rows();
  const auto text = [&row](const char* column) { return row.FieldByName(column)->AsString(); };
  purpose_.no = text("accessory_no");
  purpose_.name = text("accessory_name");
  purpose_.sn = text("accessory_sn");
  purpose_.type = text("accessory_type");
  purpose_.unit = text("accessory_unit");
  if (with_cut_stock) purpose_.cut_stock = text("cut_stock");
}

void Tdonate::ApplyStockRule() {
  const bool name_typed = purpose_.cut_stock == "Y";
  Edit10.SetReadOnly(!name_typed);
  (name_typed ? static_cast<TEdit&>(Edit10) : MaskEdit12).SetFocus();
}

void Tdonate::RecomputeAmount() {
  MaskEdit15.SetText(FloatToGeneralText(ReadAmounts(MaskEdit12, MaskEdit13, MaskEdit14).net));
}

void Tdonate::RadioGroup2Click(TObject*) {
  OpenPurposes(true);
  (RadioGroup2.ItemIndex() == kByCode ? Edit9 : Edit10).SetFocus();
}

void Tdonate::Edit7KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  LocatePurpose(RadioGroup2.ItemIndex(), Edit7.Text());
  TDataSet& row = Query_Find_Acc.Rows();
  if (row.Active() && !row.IsEmpty()) {
    Edit9.SetText(row.FieldByName("accessory_no")->AsString());
    Edit10.SetText(row.FieldByName("accessory_name")->AsString());
  }
  if (line_state_ == LineState::kAdd) {
    for (TMaskEdit* box : {&MaskEdit12, &MaskEdit13, &MaskEdit14, &MaskEdit15}) box->SetText("0");
  } else if (line_state_ == LineState::kEdit) {
    MaskEdit13.SetText(edited_line_.price);
    MaskEdit14.SetText(edited_line_.disc_rate);
    RecomputeAmount();
  }
  ApplyStockRule();
}

void Tdonate::DBGrid3CellClick(TColumn*) {
  TDataSet& row = Query_Find_Acc.Rows();
  if (!row.Active() || row.IsEmpty()) return;
  Edit9.SetText(row.FieldByName("accessory_no")->AsString());
  Edit10.SetText(row.FieldByName("accessory_name")->AsString());
  KeepPurposeOfCurrentRow(false);
  purpose_.cut_stock = row.FieldByName("cut_stock")->AsString();
  Edit8.SetText(purpose_.unit);
  MaskEdit13.SetText(GeneralText(*row.FieldByName("price_1")));
  if (line_state_ == LineState::kAdd) {
    MaskEdit12.SetText("1");
    MaskEdit14.SetText("0");
  } else {
    MaskEdit14.SetText(edited_line_.disc_rate);
  }
  RecomputeAmount();
  ApplyStockRule();
}

void Tdonate::MaskEdit12Exit(TObject*) {
  RecomputeAmount();
}

void Tdonate::MaskEdit13Exit(TObject*) {
  RecomputeAmount();
}

void Tdonate::MaskEdit14KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  RecomputeAmount();
  Button9.SetFocus();
}

void Tdonate::Button9Click(TObject*) {
  const LineAmounts amounts = ReadAmounts(MaskEdit12, MaskEdit13, MaskEdit14);
  // The purpose is that of the code as saved, whether it was picked or typed.
  query_temp.Open({kPurposeOfCode, {{"qaccessory_no", Variant(Edit9.Text())}}});
  TDataSet& found = query_temp.Rows();
  if (found.IsEmpty()) {
    found.Close();
    ShowMessage(std::string(kNoSuchPurposeMessage));
    return;
  }
  purpose_.type = found.FieldByName("accessory_type")->AsString();
  purpose_.cut_stock = found.FieldByName("cut_stock")->AsString();
  found.Close();

  const std::vector<QueryParameter> parameters = LineParameters(amounts.qty, amounts.price, amounts.disc_rate,
                                                                amounts.net);
  const bool add = line_state_ == LineState::kAdd;
  const bool saved = InTransaction(kLineLockMessage, [&] { Execute(add ? kInsertLine : kUpdateLine, parameters); });
  CloseLinePanel();
  if (saved) ShowSavedLines(add ? SavedLine::kNew : SavedLine::kEdited);
  Button5.SetFocus();
}

void Tdonate::ShowSavedLines(SavedLine line) {
  const bool shown = ReadPastTableLocks(kLockedReadRetry, [&] {
    ShowLines();
    TDataSet& lines = q_find2.Rows();
    // A new line has the highest id of its donation.
    if (line == SavedLine::kNew) lines.Last();
    if (line == SavedLine::kEdited) lines.Locate("BILL_ID", Variant(edited_line_.bill_id), {});
  });
  if (!shown) ShowMessage(std::string(kSavedButLockedMessage));
}

std::vector<QueryParameter> Tdonate::LineParameters(double qty, double price, double disc_rate, double net) {
  const Variant empty{std::string()};
  std::vector<QueryParameter> parameters{
      {"pbill_no", Variant(current_number_)},
      {"pbill_date", Variant::Date(ThaiTextToDate(Edit19.Text()))},
      {"pcust_no", Variant(DonationCustNo)},
      {"paccessory_no", Variant(Edit9.Text())},
      {"paccessory_name", Variant(Edit10.Text())},
      {"paccessory_type", Variant(purpose_.type)},
      {"paccessory_sn", empty},
      {"pproj_no", Variant(edited_line_.proj_no)},
      {"pproj_type", Variant(edited_line_.proj_type)},
      {"pqty", Variant(qty)},
      {"punit_name", Variant(Edit8.Text())},
      {"pprice", Variant(price)},
      {"pdisc_rate", Variant(disc_rate)},
      {"ptax_status", empty},
      {"ptax_rate", Variant(0.0)},
      {"pwarn_term", empty},
      {"pwarn_date", empty},
      {"ptotal", Variant(net)},
      {"pp_bill", empty},
      {"pfg_clear", Variant(std::string("0"))},
      {"pfg_end", empty},
      {"pstk_post", Variant(purpose_.cut_stock == "0" ? kNoStockPost : kStockPost)},
      {"psale_no", Variant(Edit18.Text())},
  };
  if (line_state_ == LineState::kEdit) parameters.push_back({"pbill_id", Variant(edited_line_.bill_id)});
  return parameters;
}

void Tdonate::Button7Click(TObject*) {
  TDataSet& line = q_find2.Rows();
  if (!HasLines()) return;
  staff_no_ = line.FieldByName("SALE_NO")->AsString();
  if (MessageDlg(std::string(kDeleteQuestion), mtConfirmation, {mbYes, mbNo}) == mrYes) {
    const int32_t bill_id = line.FieldByName("BILL_ID")->AsInteger();
    if (InTransaction(kLineLockMessage, [&] { Execute(kDeleteLine, {{"q_bill_id", Variant(bill_id)}}); }))
      ShowSavedLines(SavedLine::kDeleted);
  }
}
