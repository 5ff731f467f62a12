#pragma once
// Tedit_fill: the goods window. One class serves both directions of stock,
// chosen by myVar.WorkMode when the window first activates:
//   "1" sale: documents in g_sale_2, lines in outstock, parties from customer,
//       numbers under sys_sys.PREFIX7;
//   "3" purchase: g_buy_2, instock, supply, PREFIX6.
// A document is a header row with any number of line rows carrying its
// 11-character number (DocumentNumber.h).
//
// The header is numbered and written when it is saved; a number another copy
// took meanwhile is refused by the unique index, and the window stays in "add"
// to save again. Each line save or delete is one transaction of the window's
// connection. A counted item's stock is checked before the line is written and
// summed again inside the line's transaction after its statement, so that two
// copies selling the last unit at once cannot both commit; the stock on hand
// never goes below zero through this window.
//
// Every value of the window (mode, header and line state, current number,
// party and staff, prefixes, totals, the item in the editor) belongs to the
// instance; the party registers write their pick into the window that opened
// them (PickTarget).
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/Currency.h"
#include "app/core/WindowQuery.h"
#include "app/donation/PickTarget.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Panel.h"
#include "platform/ui/RadioGroup.h"

class TDataSet;
class TDataSource;
class TVTRDatabase;
class TVTRQuery;

inline constexpr std::string_view kGoodsAlias = "d_edit_fill_restaurang";
inline constexpr std::string_view kSaleCaption = " การจำหน่ายสินค้า ให้เช่าวัตถุมงคล... สำหรับ ";
inline constexpr std::string_view kPurchaseCaption = " การนำเข้าสินค้า วัตถุมงคล... สำหรับ ";
inline constexpr std::string_view kNewGoodsNumber = "TEMP000000";
inline constexpr std::string_view kGoodsHasLinesMessage = "ต้องลบข้อมูลในรายการให้หมดก่อน... ";
inline constexpr std::string_view kStockShortMessage = "จำนวนไม่พอ... ";
inline const std::vector<std::string> kCreditTerms{"สด",     "3 ว.",  "7 ว.", "15 ว.", "30 ว.", "45 ว.",
                                                   "60 ว.",  "90 ว.", "120 ว.", "0 ด.",  "1 ด.",  "2 ด.",
                                                   "3 ด.",   "4 ด.",  "5 ด.",  "6 ด."};

enum class GoodsMode { kSale = 1, kPurchase = 3 };
enum class GoodsHeaderState { kNormal, kAdd, kEdit };
enum class GoodsLineState { kCancel, kAdd, kEdit };

class Tedit_fill : public TForm, public PickTarget {
  // First, as the references below are made from them.
  std::unique_ptr<WindowQuery> master_query_;
  std::unique_ptr<WindowQuery> numbers_query_;
  std::unique_ptr<WindowQuery> party_query_;
  std::unique_ptr<WindowQuery> temp_query_;
  std::unique_ptr<WindowQuery> lines_query_;
  std::unique_ptr<WindowQuery> product_query_;

 public:
  explicit Tedit_fill(TComponent* owner);
  ~Tedit_fill() override;

  PartyBoxes PickBoxes() override;

  // ---- What the window holds.
  GoodsMode Mode() const { return mode_; }
  GoodsHeaderState HeaderState() const { return header_state_; }
  GoodsLineState LineState() const { return line_state_; }
  const std::string& CurrentBillNo() const { return current_bill_no_; }
  const std::string& SaleStaffNo() const { return sale_staff_no_; }
  Currency DocumentTotal() const { return document_total_; }
  double StockOnHand() const { return stock_on_hand_; }
  // Runs inside each line transaction just before its commit (tests make the
  // commit fail here).
  std::function<void()> BeforeCommit;
  // Runs between a line's stock check and its transaction (tests let another
  // user commit a sale of the item here).
  std::function<void()> AfterStockCheck;

  // ---- Data.
  TVTRDatabase& Database1;
  WindowQuery& q_f_master;
  WindowQuery& q_run_bill;
  WindowQuery& query_cust;
  WindowQuery& query_temp;
  WindowQuery& q_find2;
  WindowQuery& Query_Find_Acc;
  TVTRQuery& q_add_edit;
  TDataSource& DataSource9;  // q_f_master
  TDataSource& DataSource2;  // q_find2
  TDataSource& DataSource4;  // Query_Find_Acc

  TPageControl& PageControl1;
  TTabSheet& main;
  TTabSheet& find_member;

  // ---- Party page.
  TEdit& Edit1;
  TEdit& Edit2;
  TEdit& Edit3;
  TEdit& Edit21;
  TEdit& Edit22;
  TEdit& Edit23;
  TEdit& Edit24;
  TEdit& Edit25;
  TEdit& Edit19;
  TEdit& Edit16;
  TEdit& Edit4;
  TComboBox& ComboBox2;
  TComboBox& ComboBox1;
  TButton& Button14;

  // ---- Header buttons.
  TButton& Button2;
  TButton& Button16;
  TButton& Button11;
  TButton& Button17;
  TDBNavigator& DBNavigator1;
  TButton& Button13;
  TButton& Button12;
  TButton& Button18;
  TButton& Button19;
  TButton& Button4;
  TButton& Button3;

  // ---- Lines.
  TDBGrid& DBGrid2;
  TLabel& Label25;
  TLabel& Label26;
  TPanel& Panel2;
  TButton& Button5;
  TButton& Button6;
  TButton& Button7;

  // ---- Line editor.
  TPanel& Panel1;
  TRadioGroup& RadioGroup3;
  TRadioGroup& RadioGroup2;
  TEdit& Edit7;
  TDBGrid& DBGrid3;
  TEdit& Edit9;
  TEdit& Edit10;
  TLabel& Label4;
  TMaskEdit& MaskEdit11;
  TMaskEdit& MaskEdit12;
  TMaskEdit& MaskEdit13;
  TMaskEdit& MaskEdit14;
  TMaskEdit& MaskEdit15;
  TCheckBox& CheckBox1;
  TButton& Button9;
  TButton& Button8;

  // ---- Number search page.
  TEdit& Edit6;
  TDBGrid& DBGrid1;
  TButton& Button1;

  // ---- Header handlers (edit_fill.cpp).
  void FormCreate(TObject* sender);
  void FormActivate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void DataSource9DataChange(TObject* sender, TField* field);
  void Button16Click(TObject* sender);
  void Button14Click(TObject* sender);
  void Button11Click(TObject* sender);
  void Button12Click(TObject* sender);
  void Button13Click(TObject* sender);
  void Button17Click(TObject* sender);
  void ComboBox2Change(TObject* sender);
  void ComboBox1Click(TObject* sender);
  void Button2Click(TObject* sender);
  void Edit6KeyPress(TObject* sender, char32_t& key);
  void DBGrid1Pick();
  void Button1Click(TObject* sender);
  void Button3Click(TObject* sender);
  // Print handlers (EditFillPrint.cpp).
  void Button18Click(TObject* sender);
  void Button19Click(TObject* sender);
  void Button4Click(TObject* sender);
  // Line handlers (EditFillLines.cpp).
  void Button5Click(TObject* sender);
  void Button6Click(TObject* sender);
  void Button7Click(TObject* sender);
  void Button8Click(TObject* sender);
  void Button9Click(TObject* sender);
  void Edit7KeyPress(TObject* sender, char32_t& key);
  void DBGrid3CellClick(TColumn* column);
  void RadioGroup2Click(TObject* sender);
  void RadioGroup3Click(TObject* sender);
  void MaskEdit14KeyPress(TObject* sender, char32_t& key);

  // ---- Routines.
  void LoadDocumentList();
  void ShowDocumentHeader();
  std::string StaffNameOf(const std::string& per_no);
  std::string StaffNoOf(const std::string& per_name);
  void LoadDocumentLines(const std::string& bill_no);
  void RecalcDocumentTotal();
  void LoadNumberSettings();
  void LoadProductList(int order, int type);
  bool LocateProduct(int by, const std::string& text);
  // Prints the shown sale as myVar.PrintRequestKind asks ("0" delivery note,
  // "1" receipt) in the layout of sys_sys.VIEW6; a purchase prints nothing.
  void PrintGoodsDocument();

 private:
  // The item of the line in the editor, as product gives it.
  struct Item {
    std::string no;
    std::string type;
    std::string unit;
    std::string stock_flag;  // cut_stock: "1" counted, "0" not
    double tax_rate = 0;
    double opening = 0;
  };

  void BuildHeader();
  void BuildLines();
  void BuildLinePanel();
  void BuildSearchPage();
  void ApplyMode();
  void ClearParty();
  void HeaderButtonsNormal();
  void HeaderButtonsEntry();
  void LineEntryButtons();
  void LineButtons(bool enabled);
  bool HasLines();
  void OpenPartyPicker();
  bool SaveHeader();
  void ExecuteWrite(const std::vector<std::string>& lines, const std::vector<QueryParameter>& parameters);

  // Line helpers.
  static Item ItemOfRow(TDataSet& row);
  void TakeItemOfCurrentProduct();
  bool ReadItem(const std::string& pro_no);
  double ItemStock() const;
  void ShowStockBox();
  void RecomputeAmount();
  void CloseLineEditor();
  void ShowShortage(double stock_after, double qty);
  double StockAfterLine(double stock, double qty) const;
  std::vector<QueryParameter> LineParameters(double qty, double price, double disc_rate, double total);

  const char* HeaderTable() const;
  const char* LineTable() const;
  const std::string& Prefix() const;

  GoodsMode mode_ = GoodsMode::kSale;
  GoodsHeaderState header_state_ = GoodsHeaderState::kNormal;
  GoodsLineState line_state_ = GoodsLineState::kCancel;
  bool setup_pending_ = true;
  std::string current_bill_no_;
  std::string saved_bookmark_;
  std::string sale_staff_no_;
  std::string prefix_sale_;
  std::string prefix_purchase_;
  Currency document_total_;
  double stock_on_hand_ = 0;
  double previous_line_qty_ = 0;
  Item item_;
  int edited_bill_id_ = 0;
  std::string proj_no_;
  std::string proj_type_;
};
