// The line side of the goods window: the lines of the document with their
// total, the line editor with the goods list, the stock check, and the saving
// and deleting of lines, each in a transaction of the window's connection.
#include <exception>
#include <string>
#include <vector>

#include "app/core/ColumnSum.h"
#include "app/core/ThaiDateText.h"
#include "app/core/WindowParts.h"
#include "app/donation/ReportParts.h"
#include "app/donation/StockOnHand.h"
#include "app/donation/cdonate.h"
#include "app/donation/edit_fill.h"
#include "engine/access/Database.h"
#include "engine/access/Query.h"
#include "platform/db/DB.h"
#include "platform/db/DataSource.h"
#include "platform/db/NumericFields.h"
#include "platform/rtl/FloatText.h"
#include "platform/rtl/NumberText.h"
#include "platform/ui/Dialogs.h"

namespace {

const std::string kAlias(kGoodsAlias);
constexpr std::string_view kTotalMask = "##,###,##0.00";
constexpr std::string_view kLineMoneyMask = "###,###,##0.00";
const std::vector<std::string> kItemOfNumber{" select * from product ", " where pro_no =:q_t_no "};
// Stock posting of a line: a sale, a purchase, an item whose stock is not counted.
constexpr int32_t kSalePost = 1;
constexpr int32_t kPurchasePost = 2;
constexpr int32_t kUncountedPost = 5;
constexpr int kByNumber = 0;

// The line would take a counted item's stock below zero; `figure` is the
// quantity the line may hold at most (sale) or at least (purchase).
struct StockShortage {
  double figure;
};

struct LineAmounts {
  double qty = 0;
  double price = 0;
  double disc_rate = 0;
  double total = 0;
};

// Raises the class library's conversion error for a text that is no number.
LineAmounts ReadAmounts(const TEdit& qty, const TEdit& price, const TEdit& disc_rate) {
  LineAmounts amounts{StrToFloat(qty.Text()), StrToFloat(price.Text()), StrToFloat(disc_rate.Text())};
  const double amount = amounts.qty * amounts.price;
  amounts.total = amount - amount * amounts.disc_rate / 100;
  return amounts;
}

}  // namespace

void Tedit_fill::BuildLines() {
  DBGrid2.SetDataSource(&DataSource2);
  DBGrid2.SetReadOnly(true);
  ShowColumns(DBGrid2, {{"FG_GIFT", "x"},
                        {"BILL_NO", "เลขที่ใบสำคัญ"},
                        {"ACCESSORY_NAME", "ชื่อผลิตภัณฑ์ - บริการ"},
                        {"QTY", "จำนวน"},
                        {"PRICE", "ราคา/หน่วย"},
                        {"DISC_RATE", "ลด %"},
                        {"TOTAL", "รวม"}});
  Label26.SetAutoSize(false);
  Label26.SetAlignment(taRightJustify);
  Button5.OnClick = Bind(this, &Tedit_fill::Button5Click);
  Button6.OnClick = Bind(this, &Tedit_fill::Button6Click);
  Button7.OnClick = Bind(this, &Tedit_fill::Button7Click);
}

void Tedit_fill::BuildLinePanel() {
  RadioGroup3.SetCaption("  ประเภท  ");
  RadioGroup3.SetItems({"1 วัตถุมงคล", "2 บริการ"});
  RadioGroup3.SetColumns(2);
  RadioGroup3.SetItemIndex(0);
  RadioGroup3.OnClick = Bind(this, &Tedit_fill::RadioGroup3Click);
  RadioGroup2.SetCaption("  ค้นหาโดย  ");
  RadioGroup2.SetItems({"รหัส", "ชื่อ"});
  RadioGroup2.SetColumns(2);
  RadioGroup2.SetItemIndex(kByNumber);
  RadioGroup2.OnClick = Bind(this, &Tedit_fill::RadioGroup2Click);
  DBGrid3.SetDataSource(&DataSource4);
  DBGrid3.SetReadOnly(true);
  ShowColumns(DBGrid3, {{"PRO_NO", "รหัส"}, {"PRO_NAME", "ชื่อ"}});
  DBGrid3.OnCellClick = Bind(this, &Tedit_fill::DBGrid3CellClick);
  MakeLabel(*this, "Label12", "จำนวน", 310, 129, 80, &Panel1);
  MakeLabel(*this, "Label13", "ราคาหน่วยละ", 310, 155, 80, &Panel1);
  MakeLabel(*this, "Label14", "ส่วนลด %", 490, 155, 50, &Panel1);
  MakeLabel(*this, "Label15", "เป็นเงิน", 310, 181, 80, &Panel1);
  MaskEdit11.SetReadOnly(true);
  MaskEdit11.SetColor(clLime);
  CheckBox1.SetCaption("รับของที่ระลึกแล้ว");
  Edit7.OnKeyPress = Bind(this, &Tedit_fill::Edit7KeyPress);
  MaskEdit14.OnKeyPress = Bind(this, &Tedit_fill::MaskEdit14KeyPress);
  Button9.OnClick = Bind(this, &Tedit_fill::Button9Click);
  Button8.OnClick = Bind(this, &Tedit_fill::Button8Click);
}

bool Tedit_fill::HasLines() {
  TDataSet& lines = q_find2.Rows();
  return lines.Active() && !lines.IsEmpty();
}

void Tedit_fill::LoadDocumentLines(const std::string& bill_no) {
  if (!DataSource2.Enabled()) return;
  // The grid takes the amounts' format once it shows the new rows.
  DataSource2.SetEnabled(false);
  q_find2.Open({{std::string(" select * from ") + LineTable() + " ", " where Bill_no =:qfill_no ",
                 " order by bill_id "},
                {{"qfill_no", Variant(bill_no)}}});
  for (const char* column : {"PRICE", "TOTAL"})
    if (auto* field = dynamic_cast<TNumericField*>(q_find2.Rows().FindField(column)))
      field->SetDisplayFormat(std::string(kLineMoneyMask));
  DataSource2.SetEnabled(true);
  const bool lines = HasLines();
  Button6.SetVisible(lines);
  Button7.SetVisible(lines);
  const TDataSet& header = q_f_master.Rows();
  if (header.Active() && !header.IsEmpty()) current_bill_no_ = header.FieldByName("bill_no")->AsString();
}

void Tedit_fill::RecalcDocumentTotal() {
  query_temp.Open({{std::string(" Select bill_no, total, tax_rate from ") + LineTable() + " ",
                    " where bill_no =:p_post_inv_no "},
                   {{"p_post_inv_no", Variant(current_bill_no_)}}});
  TDataSet& rows = query_temp.Rows();
  const bool none = rows.IsEmpty();
  document_total_ = none ? Currency() : SumColumn(rows, "total");
  rows.Close();
  Label26.SetCaption(none ? std::string() : document_total_.Format(kTotalMask));
}

void Tedit_fill::LoadProductList(int order, int type) {
  Query_Find_Acc.Open({{" select * from product ", " where pro_type =:qpro_type ",
                        order == kByNumber ? " order by pro_no " : " order by pro_name "},
                       {{"qpro_type", Variant(std::to_string(type))}}});
}

bool Tedit_fill::LocateProduct(int by, const std::string& text) {
  TDataSet& products = Query_Find_Acc.Rows();
  const bool found = products.Active() &&
                     products.Locate(by == kByNumber ? "pro_no" : "pro_name", Variant(text), {loPartialKey});
  if (found) TakeItemOfCurrentProduct();
  return found;
}

void Tedit_fill::TakeItemOfCurrentProduct() {
  item_ = ItemOfRow(Query_Find_Acc.Rows());
}

Tedit_fill::Item Tedit_fill::ItemOfRow(TDataSet& row) {
  const auto text = [&row](const char* column) { return row.FieldByName(column)->AsString(); };
  return {text("pro_no"), text("pro_type"), text("pro_unit"), text("cut_stock"),
          row.FieldByName("tax_rate")->AsFloat(), row.FieldByName("pro_total")->AsFloat()};
}

bool Tedit_fill::ReadItem(const std::string& pro_no) {
  query_temp.Open({kItemOfNumber, {{"q_t_no", Variant(pro_no)}}});
  TDataSet& row = query_temp.Rows();
  const bool found = !row.IsEmpty();
  if (found) item_ = ItemOfRow(row);
  row.Close();
  return found;
}

double Tedit_fill::ItemStock() const {
  return ::StockOnHand(kAlias, item_.no, item_.opening);
}

void Tedit_fill::ShowStockBox() {
  const bool counted = item_.stock_flag == "1";
  Label4.SetVisible(counted);
  MaskEdit11.SetVisible(counted);
  MaskEdit11.SetText(FloatToStr(stock_on_hand_));
}

void Tedit_fill::RecomputeAmount() {
  MaskEdit15.SetText(FloatToStr(ReadAmounts(MaskEdit12, MaskEdit13, MaskEdit14).total));
}

void Tedit_fill::LineButtons(bool enabled) {
  for (TButton* button : {&Button5, &Button6, &Button7}) button->SetEnabled(enabled);
}

void Tedit_fill::Button5Click(TObject*) {
  line_state_ = GoodsLineState::kAdd;
  LineEntryButtons();
  LineButtons(false);
  CheckBox1.SetChecked(false);
  Panel1.SetBounds(138, 3, Panel1.Width(), Panel1.Height());
  Panel1.Show();
  if (RadioGroup2.ItemIndex() != kByNumber) {
    RadioGroup2.SetItemIndex(kByNumber);
    LoadProductList(kByNumber, RadioGroup3.ItemIndex());
  }
  RadioGroup2.SetEnabled(true);
  DBGrid3.SetEnabled(true);
  Edit9.SetReadOnly(false);
  Edit10.SetReadOnly(false);
  previous_line_qty_ = 0;
  edited_bill_id_ = 0;
  proj_no_.clear();
  proj_type_.clear();
  for (TEdit* box : {&Edit7, &Edit9, &Edit10, static_cast<TEdit*>(&MaskEdit11), static_cast<TEdit*>(&MaskEdit12),
                     static_cast<TEdit*>(&MaskEdit13), static_cast<TEdit*>(&MaskEdit14),
                     static_cast<TEdit*>(&MaskEdit15)})
    box->Clear();
  Edit7.SetFocus();
}

void Tedit_fill::Button6Click(TObject*) {
  line_state_ = GoodsLineState::kEdit;
  LineEntryButtons();
  LineButtons(false);
  Panel1.Show();
  RadioGroup2.SetItemIndex(kByNumber);
  Edit9.SetReadOnly(true);
  Edit10.SetReadOnly(true);
  Edit7.Clear();
  if (!HasLines()) {
    ShowMessage(std::string(kNoSuchPurposeMessage));
    return;
  }
  TDataSet& line = q_find2.Rows();
  const auto text = [&line](const char* column) { return line.FieldByName(column)->AsString(); };
  const int type = text("ACCESSORY_TYPE") == "1" ? 1 : 0;
  LoadProductList(kByNumber, type);
  RadioGroup3.SetItemIndex(type);
  if (!LocateProduct(kByNumber, text("ACCESSORY_NO"))) ReadItem(text("ACCESSORY_NO"));
  stock_on_hand_ = ItemStock();
  edited_bill_id_ = line.FieldByName("BILL_ID")->AsInteger();
  previous_line_qty_ = line.FieldByName("QTY")->AsFloat();
  proj_no_ = text("PROJ_NO");
  proj_type_ = text("PROJ_TYPE");
  CheckBox1.SetChecked(text("FG_GIFT") == "1");
  Edit9.SetText(text("ACCESSORY_NO"));
  Edit10.SetText(text("ACCESSORY_NAME"));
  MaskEdit12.SetText(FloatToStr(previous_line_qty_));
  MaskEdit13.SetText(FloatToStr(line.FieldByName("PRICE")->AsFloat()));
  MaskEdit14.SetText(FloatToStr(line.FieldByName("DISC_RATE")->AsFloat()));
  RecomputeAmount();
  ShowStockBox();
  MaskEdit12.SetFocus();
}

void Tedit_fill::Button8Click(TObject*) {
  line_state_ = GoodsLineState::kCancel;
  CloseLineEditor();
  (HasLines() ? Button6 : Button5).SetFocus();
}

void Tedit_fill::CloseLineEditor() {
  Panel1.Hide();
  HeaderButtonsNormal();
  LineButtons(true);
}

void Tedit_fill::RadioGroup2Click(TObject*) {
  LoadProductList(RadioGroup2.ItemIndex(), RadioGroup3.ItemIndex());
  (RadioGroup2.ItemIndex() == kByNumber ? Edit9 : Edit10).SetFocus();
}

void Tedit_fill::RadioGroup3Click(TObject*) {
  LoadProductList(RadioGroup2.ItemIndex(), RadioGroup3.ItemIndex());
  TDataSet& products = Query_Find_Acc.Rows();
  item_.stock_flag = products.IsEmpty() ? std::string() : products.FieldByName("cut_stock")->AsString();
  ShowStockBox();
}

void Tedit_fill::Edit7KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  TDataSet& products = Query_Find_Acc.Rows();
  if (!products.Active() || products.IsEmpty()) return;
  // After a miss the line takes the row that was current before.
  LocateProduct(RadioGroup2.ItemIndex(), Edit7.Text());
  DBGrid3CellClick(nullptr);
}

void Tedit_fill::DBGrid3CellClick(TColumn*) {
  TDataSet& row = Query_Find_Acc.Rows();
  if (!row.Active() || row.IsEmpty()) return;
  TakeItemOfCurrentProduct();
  Edit9.SetText(item_.no);
  Edit10.SetText(row.FieldByName("pro_name")->AsString());
  stock_on_hand_ = ItemStock();
  const double price = row.FieldByName(mode_ == GoodsMode::kSale ? "pro_sprice" : "pro_bprice")->AsFloat();
  MaskEdit13.SetText(FloatToStr(price));
  if (line_state_ == GoodsLineState::kAdd) {
    MaskEdit12.SetText("1");
    MaskEdit14.SetText("0");
  }
  RecomputeAmount();
  ShowStockBox();
  MaskEdit12.SetFocus();
}

void Tedit_fill::MaskEdit14KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  RecomputeAmount();
  Button9.SetFocus();
}

double Tedit_fill::StockAfterLine(double stock, double qty) const {
  return mode_ == GoodsMode::kSale ? stock - qty + previous_line_qty_ : stock + qty - previous_line_qty_;
}

void Tedit_fill::ShowShortage(double stock_after, double qty) {
  // At most what the stock leaves for a sale, at least what it needs kept for a purchase.
  const double figure = mode_ == GoodsMode::kSale ? stock_after + qty : qty - stock_after;
  ShowMessage(std::string(kStockShortMessage) + FloatToStr(figure));
  MaskEdit12.SetFocus();
}

void Tedit_fill::Button9Click(TObject*) {
  const LineAmounts amounts = ReadAmounts(MaskEdit12, MaskEdit13, MaskEdit14);
  // The item is the one of the number saved, whether it was picked or typed.
  if (!ReadItem(Edit9.Text())) {
    ShowMessage(std::string(kNoSuchPurposeMessage));
    return;
  }
  const bool counted = item_.stock_flag == "1";
  if (item_.stock_flag != "0" && !counted) {
    ShowShortage(StockAfterLine(0, amounts.qty), amounts.qty);
    return;
  }
  if (counted) {
    stock_on_hand_ = ItemStock();
    const double after = StockAfterLine(stock_on_hand_, amounts.qty);
    if (after < 0) {
      ShowShortage(after, amounts.qty);
      return;
    }
  }
  const std::vector<QueryParameter> parameters = LineParameters(amounts.qty, amounts.price, amounts.disc_rate,
                                                                amounts.total);
  const std::string table = LineTable();
  if (AfterStockCheck) AfterStockCheck();
  Database1.Open();
  Database1.StartTransaction();
  try {
    if (line_state_ == GoodsLineState::kAdd) {
      ExecuteWrite({" insert into " + table + " ",
                    " (bill_no, bill_date, cust_no, accessory_no, accessory_name, accessory_type, accessory_sn,",
                    " proj_no ,  proj_type , qty , unit_name , price, disc_rate , tax_status , tax_rate , ",
                    " warn_term , warn_date , total , p_bill , ", " fg_clear , fg_end , stk_post , sale_no, fg_gift ) ",
                    " values ", " (:pbill_no,:pbill_date,:pcust_no, ",
                    " :paccessory_no,:paccessory_name,:paccessory_type,:paccessory_sn, ",
                    " :pproj_no,:pproj_type,:pqty,:punit_name,:pprice,:pdisc_rate,:ptax_status,:ptax_rate, ",
                    " :pwarn_term,:pwarn_date,:ptotal,:pp_bill,:pfg_clear,:pfg_end,:pstk_post,:psale_no,:pfg_gift ) "},
                   parameters);
    } else {
      ExecuteWrite({" update " + table + " ", " set ", " bill_no=:pbill_no,bill_date=:pbill_date, ",
                    " cust_no=:pcust_no,accessory_no=:paccessory_no,accessory_name=:paccessory_name, ",
                    " accessory_type=:paccessory_type,accessory_sn=:paccessory_sn,proj_no=:pproj_no,"
                    "proj_type=:pproj_type,qty=:pqty, ",
                    " unit_name=:punit_name,price=:pprice, ", " disc_rate=:pdisc_rate,tax_status=:ptax_status, ",
                    " tax_rate=:ptax_rate,warn_term=:pwarn_term,warn_date=:pwarn_date, ",
                    " total=:ptotal,p_bill=:pp_bill,fg_clear=:pfg_clear,fg_end=:pfg_end, ",
                    " stk_post=:pstk_post,sale_no=:psale_no,fg_gift=:pfg_gift  ", " where bill_id =:pbill_id "},
                   parameters);
    }
    // Another copy may have committed a line of the item since the check above:
    // the stock is summed again with this line in place, under its locks.
    if (counted) {
      const double after = ItemStock();
      if (after < 0) throw StockShortage{after};
    }
    if (BeforeCommit) BeforeCommit();
    Database1.Commit(true);
  } catch (const StockShortage& shortage) {
    Database1.Rollback();
    ShowShortage(shortage.figure, amounts.qty);
    return;
  } catch (const std::exception&) {
    Database1.Rollback();
    ShowMessage(std::string(kLineLockMessage));
  }
  LoadDocumentLines(Edit16.Text());
  RecalcDocumentTotal();
  CloseLineEditor();
  Button5.SetFocus();
}

std::vector<QueryParameter> Tedit_fill::LineParameters(double qty, double price, double disc_rate, double total) {
  const Variant empty{std::string()};
  const int32_t post = item_.stock_flag == "0" ? kUncountedPost
                       : mode_ == GoodsMode::kSale ? kSalePost
                                                   : kPurchasePost;
  std::vector<QueryParameter> parameters{
      {"pbill_no", Variant(current_bill_no_)},
      {"pbill_date", Variant::Date(ThaiTextToDate(Edit19.Text()))},
      // Every line carries the document's party and staff member.
      {"pcust_no", Variant(Edit1.Text())},
      {"paccessory_no", Variant(Edit9.Text())},
      {"paccessory_name", Variant(Edit10.Text())},
      {"paccessory_type", Variant(item_.type)},
      {"paccessory_sn", empty},
      {"pproj_no", Variant(proj_no_)},
      {"pproj_type", Variant(proj_type_)},
      {"pqty", Variant(qty)},
      {"punit_name", Variant(item_.unit)},
      {"pprice", Variant(price)},
      {"pdisc_rate", Variant(disc_rate)},
      {"ptax_status", empty},
      {"ptax_rate", Variant(item_.tax_rate)},
      {"pwarn_term", empty},
      {"pwarn_date", empty},
      {"ptotal", Variant(total)},
      {"pp_bill", empty},
      {"pfg_clear", Variant(std::string("0"))},
      {"pfg_end", empty},
      {"pstk_post", Variant(post)},
      {"psale_no", Variant(sale_staff_no_)},
      {"pfg_gift", Variant(std::string(CheckBox1.Checked() ? "1" : "0"))},
  };
  if (line_state_ == GoodsLineState::kEdit) parameters.push_back({"pbill_id", Variant(edited_bill_id_)});
  return parameters;
}

void Tedit_fill::Button7Click(TObject*) {
  if (!HasLines()) return;
  if (MessageDlg(std::string(kDeleteQuestion), mtConfirmation, {mbYes, mbNo}) == mrYes) {
    const int32_t bill_id = q_find2.Rows().FieldByName("BILL_ID")->AsInteger();
    Database1.Open();
    Database1.StartTransaction();
    try {
      ExecuteWrite({std::string(" delete from ") + LineTable() + " ", " where bill_id =:q_bill_id "},
                   {{"q_bill_id", Variant(bill_id)}});
      if (BeforeCommit) BeforeCommit();
      Database1.Commit(true);
    } catch (const std::exception&) {
      Database1.Rollback();
      ShowMessage(std::string(kLineLockMessage));
    }
    // Reloaded so that the edit and delete buttons follow the lines left.
    LoadDocumentLines(current_bill_no_);
  }
  RecalcDocumentTotal();
}
