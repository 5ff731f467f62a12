#pragma once
// Tdonate: the donation window. A donation is a header row of g_donate_2
// (number, date, donor with a copy of the donor's name and address, staff
// member, dedication, totals) with line rows in donate (a purpose of m_donate
// with quantity, unit, price and amount), joined by the donation number.
//
// The window lists the donations of its series (sys_sys.PREFIX5 + "1"),
// numbers a new donation when it is saved (DocumentNumber.h) and saves every
// header and every line change in a transaction of its own connection, so
// another copy of the program sees a change only once it is committed and
// never half of it. A save that fails (a lock of another user, a number
// another copy took meanwhile) rolls back, says so and keeps what the user
// entered, so that the user saves again.
//
// The reads run through window queries (the program's SQL queries; tests
// serve rows); the writes run on q_add_edit, a query component of the
// window's connection. Every value of the window (header and line state,
// current number, donor and staff, series prefix, the donation to return to)
// belongs to the instance.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/Currency.h"
#include "app/core/WindowQuery.h"
#include "app/donation/PickTarget.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Panel.h"
#include "platform/ui/RadioGroup.h"

class TDataSource;
class TVTRDatabase;
class TVTRQuery;

inline constexpr std::string_view kDonateAlias = "d_edit_fill_restaurang";
inline constexpr std::string_view kDonateCaption = " การบริจาค...  ";
inline constexpr std::string_view kNewDonationNumber = "TEMP000000";
inline constexpr std::string_view kHeaderLockMessage =
    "ยังไม่สามารถบันทึกได้ตอนนี้ USER อื่น กำลัง  LOCK  ข้อมูลอยู่ รอสักครู่.  แล้วลองใหม่อีกครั้ง ... ";
inline constexpr std::string_view kLineLockMessage =
    "ยังไม่สามารถบันทึกได้ตอนนี้ มี USER อื่น กำลัง Lock ข้อมูลอยู่ สักครู่ .. ลองใหม่...";
// A save committed, but another user's lock keeps the window from reading the
// saved donation back yet.
inline constexpr std::string_view kSavedButLockedMessage =
    "บันทึกแล้ว แต่ยังแสดงข้อมูลล่าสุดไม่ได้ตอนนี้ มี USER อื่น กำลัง Lock ข้อมูลอยู่ สักครู่ .. ";
inline constexpr std::string_view kHasLinesMessage = "มีข้อมูลในรายการย่อย... ต้องลบออกก่อน ";
inline constexpr std::string_view kDeleteQuestion = "ต้องการลบข้อมูลนี้ ?";
inline constexpr std::string_view kNoSuchPurposeMessage = "ไม่พบข้อมูลนี้...";
inline constexpr std::string_view kReceiptTitle = "ใบรับบริจาค";
inline constexpr std::string_view kCertificateTitle = "ใบอนุโมทนาบัตร";

enum class DonationState { kNormal, kAdd, kEdit };
enum class LineState { kCancel, kAdd, kEdit };

// The printed documents by kind ("0" receipt, "1" certificate) and sys_sys.VIEW7.
struct DonationLayoutKey {
  std::string kind;
  std::string view;
  auto operator<=>(const DonationLayoutKey&) const = default;
};
// Makes the document's report window and shows its preview.
using DonationLayout = std::function<void()>;
using DonationLayouts = std::vector<std::pair<DonationLayoutKey, DonationLayout>>;

class Tdonate : public TForm, public PickTarget {
  // First, as the references below are made from them.
  std::unique_ptr<WindowQuery> master_query_;
  std::unique_ptr<WindowQuery> numbers_query_;
  std::unique_ptr<WindowQuery> temp_query_;
  std::unique_ptr<WindowQuery> person_query_;
  std::unique_ptr<WindowQuery> lines_query_;
  std::unique_ptr<WindowQuery> purpose_query_;
  std::unique_ptr<WindowQuery> settings_query_;

 public:
  // `make_query` makes the window's read queries; `layouts` the printed
  // documents that the print buttons choose from.
  Tdonate(TComponent* owner, const WindowQueryFactory& make_query, DonationLayouts layouts);
  explicit Tdonate(TComponent* owner);
  ~Tdonate() override;

  // ---- What the window holds.
  DonationState State() const { return state_; }
  LineState CurrentLineState() const { return line_state_; }
  const std::string& CurrentNumber() const { return current_number_; }
  const std::string& StaffNo() const { return staff_no_; }
  const std::string& SeriesPrefix() const { return series_prefix_; }
  Currency Total() const { return total_; }
  // The donor number of the donation being entered; the donor register writes it.
  std::string DonationCustNo;
  // Runs inside each save's transaction just before its commit (tests make the
  // commit fail here).
  std::function<void()> BeforeCommit;
  // Runs after each committed save, before the window reads the saved
  // donation back (tests lock the table here).
  std::function<void()> AfterCommit;

  // ---- Data.
  TVTRDatabase& Database1;
  WindowQuery& q_f_master;
  WindowQuery& q_run_bill;
  WindowQuery& query_temp;
  WindowQuery& Query_Person;
  WindowQuery& q_find2;
  WindowQuery& Query_Find_Acc;
  WindowQuery& farmsys;
  TVTRQuery& q_add_edit;
  TDataSource& DataSource9;  // q_f_master
  TDataSource& DataSource2;  // q_find2
  TDataSource& DataSource3;  // Query_Find_Acc
  TDataSource& DataSource5;  // Query_Person

  // ---- Pages: the header and its lines, the staff picker, the number search.
  TPageControl& PageControl1;
  TTabSheet& TabSheet1;
  TTabSheet& TabSheet3;
  TTabSheet& find_member;

  // ---- Header.
  TEdit& Edit16;  // bill_no
  TEdit& Edit19;  // bill_date
  TEdit& Edit2;   // cust_name
  TEdit& Edit3;   // cust_add1
  TEdit& Edit21;  // cust_add2
  TEdit& Edit22;  // cust_add4
  TEdit& Edit23;  // cust_zip
  TEdit& Edit13;  // country
  TEdit& Edit24;  // cust_tel
  TEdit& Edit25;  // cust_fax
  TEdit& Edit12;  // cust_birth
  TEdit& Edit18;  // staff
  TEdit& Edit4;   // app_for
  TButton& Button14;
  TButton& Button15;

  // ---- Header buttons.
  TButton& Button2;
  TButton& Button11;
  TButton& Button16;
  TButton& Button17;
  TButton& Button18;
  TButton& Button19;
  TButton& Button13;
  TButton& Button12;
  TButton& Button3;
  TDBNavigator& DBNavigator1;

  // ---- Lines.
  TDBGrid& DBGrid2;
  TLabel& Label25;
  TLabel& Label26;
  TPanel& Panel2;
  TButton& Button5;
  TButton& Button6;
  TButton& Button7;

  // ---- Line entry panel.
  TPanel& Panel1;
  TRadioGroup& RadioGroup2;
  TEdit& Edit7;
  TDBGrid& DBGrid3;
  TEdit& Edit9;
  TEdit& Edit10;
  TMaskEdit& MaskEdit12;
  TEdit& Edit8;
  TMaskEdit& MaskEdit13;
  TMaskEdit& MaskEdit14;
  TMaskEdit& MaskEdit15;
  TButton& Button9;
  TButton& Button8;

  // ---- Staff picker page.
  TRadioGroup& RadioGroup3;
  TLabel& Label21;
  TEdit& Edit11;
  TDBGrid& DBGrid5;
  TButton& Button22;

  // ---- Number search page.
  TEdit& Edit6;
  TDBGrid& DBGrid1;
  TButton& Button1;

  // The donor register writes the picked donor into these.
  PartyBoxes PickBoxes() override;

  // ---- Handlers of the header (cdonate.cpp).
  void FormCreate(TObject* sender);
  void FormActivate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void DataSource9DataChange(TObject* sender, TField* field);
  void Button16Click(TObject* sender);
  void Button11Click(TObject* sender);
  void Button12Click(TObject* sender);
  void Button13Click(TObject* sender);
  void Button17Click(TObject* sender);
  void Button14Click(TObject* sender);
  void Button3Click(TObject* sender);
  // Staff picker and number search (DonateSearchPages.cpp).
  void Button15Click(TObject* sender);
  void RadioGroup3Click(TObject* sender);
  void Edit11KeyPress(TObject* sender, char32_t& key);
  void DBGrid5CellClick(TColumn* column);
  void Button22Click(TObject* sender);
  void Button2Click(TObject* sender);
  void Edit6KeyPress(TObject* sender, char32_t& key);
  void DBGrid1Pick();
  void Button1Click(TObject* sender);
  // Lines (DonateLines.cpp).
  void Button5Click(TObject* sender);
  void Button6Click(TObject* sender);
  void Button7Click(TObject* sender);
  void Button8Click(TObject* sender);
  void Button9Click(TObject* sender);
  void RadioGroup2Click(TObject* sender);
  void Edit7KeyPress(TObject* sender, char32_t& key);
  void DBGrid3CellClick(TColumn* column);
  void MaskEdit12Exit(TObject* sender);
  void MaskEdit13Exit(TObject* sender);
  void MaskEdit14KeyPress(TObject* sender, char32_t& key);
  // Printing (DonatePrint.cpp).
  void Button18Click(TObject* sender);
  void Button19Click(TObject* sender);

 private:
  // The purpose of the line being entered, as the catalogue gives it.
  struct Purpose {
    std::string no;
    std::string name;
    std::string sn;
    std::string type;
    std::string unit;
    std::string cut_stock;
  };
  // The values of the line being edited that the panel does not show.
  struct EditedLine {
    int bill_id = 0;
    std::string proj_no;
    std::string proj_type;
    std::string price;
    std::string disc_rate;
  };

  void BuildHeader();
  void BuildButtons();
  void BuildLines();
  void BuildLinePanel();
  void BuildStaffPage();
  void BuildSearchPage();
  void BindEnterOrders();

  // Step S: the series prefix and VatRate from sys_sys.
  void ReadSettings();
  // Step L: the donations of the series.
  void OpenDonationList();
  void OpenStaffList(std::string_view order);
  void OpenPurposes(bool ordered);
  // Step D, or the add-state values in "add".
  void ShowHeader();
  void ClearHeader();
  // The line list and total of the current number.
  void ShowLines();
  void ShowTotal();
  void SetHeaderButtons(bool entering);
  void SetLineButtons(bool enabled);
  void SetHeaderReadOnly();
  void BackToDonation(const std::string& number);
  // After a committed save: reads the list once and shows the current
  // donation, or reads its lines once and shows the line saved (the first
  // after a delete). A read that another user's lock refuses is tried again
  // through the retry policy; past it the window says so and keeps showing
  // the saved donation, which the next read shows again.
  enum class SavedLine { kNew, kEdited, kDeleted };
  void ShowSavedDonation();
  void ShowSavedLines(SavedLine line);
  bool HasLines();

  // Runs `write` in a transaction of Database1 and commits; on any error rolls
  // back, shows `lock_message` and returns false. It reads nothing back, so a
  // save that committed is never reported as failed.
  bool InTransaction(std::string_view lock_message, const std::function<void()>& write);
  // Replaces q_add_edit's text by `lines`, sets the parameters and executes it.
  void Execute(const std::vector<std::string>& lines, const std::vector<QueryParameter>& parameters);
  void SaveHeader();

  // Line helpers (DonateLines.cpp).
  bool LocatePurpose(int mode, const std::string& text);
  void KeepPurposeOfCurrentRow(bool with_cut_stock);
  void ApplyStockRule();
  void RecomputeAmount();
  void LoadLine();
  void CloseLinePanel();
  std::vector<QueryParameter> LineParameters(double qty, double price, double disc_rate, double net);

  void Print(std::string_view kind);

  DonationLayouts layouts_;
  DonationState state_ = DonationState::kNormal;
  LineState line_state_ = LineState::kCancel;
  bool first_activation_ = true;
  std::string current_number_;
  std::string staff_no_;
  std::string series_prefix_;
  // The donation to return to after a cancel or an edit (its number).
  std::string saved_bookmark_;
  Currency total_;
  Purpose purpose_;
  EditedLine edited_line_;
};
