#pragma once
// Tadd_edit: the usage voucher window. A voucher is one header row of
// g_temple_2 (number, date, site, member) with its usage lines in h_temple.
// The user picks a site (a hall or building, or a land plot in the land
// window), browses the site's vouchers, enters headers and takes a member
// over from the member register on returning to the window.
//
// One class serves the hall and the land window: the kind names the site and
// member tables, the numbering series and the captions. Every value the
// window works with (its site, voucher, member, entry states, prefixes) is
// held by the window instance, so two open windows never mix their vouchers.
//
// The window reads through window queries and writes through its live
// queries, all on its own connection (alias "d_work"). Lines are entered on
// the voucher shown, while its header is browsed.
#include <array>
#include <memory>
#include <string>

#include "app/core/WindowQuery.h"
#include "engine/access/Database.h"
#include "engine/access/Query.h"
#include "platform/db/DataSource.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Panel.h"
#include "platform/ui/RadioGroup.h"

inline constexpr const char* kSiteNotFound = "                  ไม่พบรหัสนี้...                 ";
inline constexpr const char* kSiteSearchMiss = "ไม่พบรายการ...";
inline constexpr const char* kNewVoucherNumberText = "TEMPx000000";
inline constexpr const char* kNoContract = "ห้องนี้ยังไม่ได้ทำสัญญา ...";
inline constexpr const char* kNothingToSetAside = "ไม่มีรายการให้พักชั่วคราว... ";
inline constexpr const char* kSetAsideQuestion = "ต้องการพักรายการนี้ เพื่อไปทำรายการอื่น หรือไม่ ?";
inline constexpr const char* kVoucherHasLines = "มีข้อมูลในรายการย่อย... ต้องลบออกก่อน ";
inline constexpr const char* kConfirmVoucherDelete = "ต้องการลบข้อมูลนี้ ?";
inline constexpr const char* kItemNotFound = "ไม่พบรายการ...";
inline constexpr const char* kLineNotFound = "ไม่พบข้อมูลนี้...";
inline constexpr const char* kNotEnoughStock = "จำนวนไม่เพียงพอ ...ใช้ได้สูงสุด ";
inline constexpr const char* kSiteBookedQuestion = "มีการจองห้องพักแล้ว ในวันที่นี้ จะอนุญาตให้เข้าพัก หรือไม่... ?";
inline constexpr const char* kConfirmLineDelete = "ต้องการลบข้อมูลนี้ หรือไม่ ?";

// What sets the hall window and the land window apart.
struct UsageVoucherKind {
  const char* caption;
  const char* site_table;
  const char* member_table;
  const char* site_code_label;
  const char* site_name_label;
  // The first item of the line page's type group: the use of the site itself.
  const char* site_item;
  // The settings prefix (1 to 4) that heads the voucher numbers.
  int prefix_number;
  char kind_digit;
  // Opens the register the member is picked in.
  void (*open_member_register)();
};

extern const UsageVoucherKind kHallVouchers;

inline constexpr const char* kVoucherNormal = "normal";
inline constexpr const char* kVoucherAdd = "add";
inline constexpr const char* kVoucherEdit = "edit";

class Tadd_edit : public TForm {
 public:
  Tadd_edit(TComponent* owner, const WindowQueryFactory& make_query, const UsageVoucherKind& kind = kHallVouchers);
  ~Tadd_edit() override;

 private:
  // First, as the references below are made from them.
  std::unique_ptr<WindowQuery> master_query_;
  std::unique_ptr<WindowQuery> lines_query_;
  std::unique_ptr<WindowQuery> member_query_;
  std::unique_ptr<WindowQuery> items_query_;
  std::unique_ptr<WindowQuery> site_query_;
  std::unique_ptr<WindowQuery> temp_query_;

 public:
  TVTRDatabase& Database1;
  WindowQuery& q_master;
  WindowQuery& q_find2;
  WindowQuery& Query_mem;
  WindowQuery& Query_Find_Acc;
  WindowQuery& q_find1;
  WindowQuery& query_temp;
  TVTRQuery* q_master_edit;  // header statements
  TVTRQuery* q_add_edit;  // line insert and edit, live
  TVTRQuery* Q_Delete;    // line delete, live
  TDataSource* DataSource10;  // q_master
  TDataSource* DataSource2;   // q_find2
  TDataSource* DataSource5;   // Query_Find_Acc

  TLabel* Label1;
  TEdit* Edit1;  // site code
  TLabel* Label19;
  TEdit* Edit8;  // site name
  TButton* Button12;

  TPanel* Panel5;
  TButton* Button20;  // voucher search
  TButton* Button16;  // add
  TButton* Button18;  // edit
  TButton* Button19;  // delete
  TDBNavigator* DBNavigator1;
  TButton* Button11;  // cancel
  TButton* Button10;  // save
  TButton* Button13;  // print
  TButton* Button3;   // quit

  TEdit* Edit5;  // member name
  TButton* Button14;
  TEdit* Edit11;  // voucher number
  TEdit* Edit12;  // date, day/month/Buddhist-era year
  TEdit* Edit2;
  TEdit* Edit13;
  TEdit* Edit14;
  TEdit* Edit15;

  TPageControl* PageControl1;
  TTabSheet* main;
  TDBGrid* DBGrid2;
  TPanel* Panel2;
  TButton* Button5;
  TButton* Button6;
  TButton* Button7;
  TTabSheet* edit;
  TRadioGroup* RadioGroup5;  // item type "0", "1", "2"
  TRadioGroup* RadioGroup2;  // search and order by code or name
  TEdit* Edit9;              // item code
  TEdit* Edit10;             // item name
  TDBGrid* DBGrid3;
  TButton* Button15;
  TEdit* MaskEdit1;  // from, day/month/Buddhist-era year
  TEdit* MaskEdit2;  // to
  TPanel* Panel1;    // meter readings
  TEdit* Edit3;
  TEdit* Edit4;
  TLabel* Label_MaskEdit11;
  TEdit* MaskEdit11;  // remaining
  TEdit* MaskEdit12;  // quantity
  TEdit* MaskEdit13;  // unit price
  TEdit* MaskEdit14;  // discount percent
  TEdit* MaskEdit15;  // amount
  TButton* Button8;   // cancel
  TButton* Button9;   // save
  TTabSheet* find_room;
  TRadioGroup* RadioGroup4;
  TEdit* Edit7;
  TDBGrid* DBGrid5;
  TButton* Button17;
  TTabSheet* find_bill;
  TEdit* Edit16;
  TDBGrid* DBGrid4;
  TButton* Button21;

  int SetupPending = 0;
  std::string HeaderState;
  std::string LineState;
  std::string SiteCode;
  std::string VoucherNumber;
  std::string MemberNo;
  double OldLineQty = 0;
  std::array<std::string, 4> Prefixes;

  void FormCreate(TObject* sender);
  void FormActivate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void Button12Click(TObject* sender);
  void Edit6KeyPress(TObject* sender, char32_t& key);
  void DBGrid5CellClick(TColumn* column);
  void Button17Click(TObject* sender);
  void Edit1KeyPress(TObject* sender, char32_t& key);
  void DataSource10DataChange(TObject* sender, TField* field);
  void Button16Click(TObject* sender);
  void Button18Click(TObject* sender);
  void Button11Click(TObject* sender);
  void Button19Click(TObject* sender);
  void Button13Click(TObject* sender);
  void Button14Click(TObject* sender);
  void Button20Click(TObject* sender);
  void Edit16KeyPress(TObject* sender, char32_t& key);
  void DBGrid4CellClick(TColumn* column);
  void Button21Click(TObject* sender);
  void Button5Click(TObject* sender);
  void Button6Click(TObject* sender);
  void Button7Click(TObject* sender);
  void RadioGroup5Click(TObject* sender);
  void DBGrid3CellClick(TColumn* column);
  void Edit9KeyPress(TObject* sender, char32_t& key);
  void Edit10KeyPress(TObject* sender, char32_t& key);
  void MeterKeyPress(TObject* sender, char32_t& key);
  void MaskEdit14KeyPress(TObject* sender, char32_t& key);
  void Button9Click(TObject* sender);
  void Button8Click(TObject* sender);

  // The first five characters of this window's voucher numbers.
  std::string SeriesHead() const;

 private:
  void BuildSiteFields();
  void BuildHeaderBar();
  void BuildHeaderFields();
  void BuildPages();
  void BuildSiteSearchPage();
  void BuildVoucherSearchPage();

  void SetHeaderEntryState();
  void SetHeaderBrowseState();
  void LoadPrefixesAndVat();
  void ReadSettings();
  void OpenSiteList();
  void PickSite();
  void LoadSiteVouchers();
  // Whether the typed site exists and may be used (under contract where
  // contracts are required).
  bool CheckSiteCode();
  void FindRentOfSite();
  void SetAsideEntry();
  void LoadLines(const std::string& work_no);
  void ShowHeader();
  void ClearHeaderFields();
  // The member's name (empty without a row), address and, when found, MemberNo.
  void ShowMember(const std::string& mem_no);
  // The member last picked in the register, looked up by its number.
  void TakeOverPickedMember();
  bool EnteringHeader() const { return HeaderState == kVoucherAdd || HeaderState == kVoucherEdit; }

  // Hands the voucher and the print settings over to the printout (kind "0":
  // the usage voucher, titled by DocTitleChoice and the VAT rate).
  void PrintVoucher(const std::string& kind);

  // The line page.
  void BuildLinePage();
  void BindLineEnterOrder();
  std::string ItemType() const;
  void OpenItemCatalogue();
  void ShowFieldsForItemType();
  void ClearLineFields();
  // Takes the first item whose code (or name) begins with `text` and offers
  // it for the line with what remains of it; false (told, fields emptied)
  // when none does.
  bool PickItem(const std::string& text, bool by_name);
  double RemainingStock(const std::string& code);
  void LoadLineForEdit();
  bool SiteIsBooked(TDateTime from, TDateTime to);
  // Quantity × price less the discount, from the three boxes.
  double LineAmount() const;
  void EndLineEntry();
  void StoreLine(TDateTime from, TDateTime to);

  // The item offered for the line.
  struct PickedItem {
    std::string code;
    std::string name;
    std::string type;
    std::string cut_stock;
    std::string unit;
  };
  PickedItem item_;
  // The price level of the line loaded for editing; new lines store none.
  std::string price_level_;

  const UsageVoucherKind& kind_;
};
