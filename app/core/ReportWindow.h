#pragma once
// ReportWindow: the one base of the report windows of both programs. A report
// selects its rows with one SQL query, shows them (list reports do not) and
// previews them through its report form. Three shapes:
// - list: the sort group and "รายงาน", which runs and previews;
// - period: the two date pickers, the sort group, the run button, the print
//   buttons and "Export To CSV" above the grid and the totals;
// - browse-and-print: a name box filtering by a part of the name, "ดูทั้งหมด",
//   the grid and "พิมพ์";
// - search: the sort group, the run button, the print buttons (always usable),
//   the grid and the totals; the window adds its own criteria controls and
//   their conditions (AddConditions), without a period.
// A report states its statement, sort items, money columns and texts in a
// ReportLayout and adds its own items to the bands of QuickRep1.
//
// A run: the statement rebuilt (fixed lines, the name filter, one ORDER BY by
// the sort index), the period set from the pickers' dates (whole days, both
// included), the rows opened, ReportTotals cleared and refilled from the money
// columns, the totals shown, print and export enabled only when rows came.
#include <memory>
#include <string>
#include <vector>

#include "app/core/Currency.h"
#include "app/core/WindowQuery.h"
#include "platform/db/DataSource.h"
#include "platform/report/QuickRpt.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Panel.h"
#include "platform/ui/RadioGroup.h"

class TVTRDatabase;

enum class ReportShape : uint8_t { List, Period, BrowseAndPrint, Search };

// Where a period report's pickers start.
enum class ReportPeriodStart : uint8_t {
  Today,         // both at today, when the window is created
  CurrentMonth,  // the month's first and last day, at the first activation
};

struct ReportPrintButton {
  std::string caption;  // "รายงาน", "รายงาน 1", "พิมพ์" ...
  std::string kind;     // the report kind it sets: "1" detail, "2" summary
};

struct ReportLayout {
  ReportShape shape = ReportShape::Period;
  std::string alias;    // the window's own connection, e.g. "d_per"
  std::string caption;  // the window's
  std::string title;    // the report title label's
  int top = 0;
  int left = 0;
  ReportPeriodStart period_start = ReportPeriodStart::Today;
  std::string sort_caption;             // "  จัดเรียงลำดับโดย  "
  std::vector<std::string> sort_items;  // "รหัส", "ชื่อ"
  std::vector<std::string> statement;   // the fixed lines, with :mBegin and :mEnd in period reports
  std::vector<std::string> order_lines;  // one ORDER BY line per sort item, by index
  // Browse-and-print: the name column and the condition line that filters it
  // by the parameter `name_parameter` ("%" + typed text + "%").
  std::string name_field;
  std::string name_condition;
  std::string name_parameter;
  // Summed into ReportTotals (element i for field i) and shown in the total
  // labels, in order.
  std::vector<std::string> money_fields;
  std::vector<ReportPrintButton> print_buttons;
  // The export's file is "CSV\" + csv_name + ".csv"; empty: no export button.
  std::string csv_name;
  bool run_at_setup = false;  // reports that show their rows at once
};

inline constexpr std::string_view kRunCaption = "&ประมวลผล";
inline constexpr std::string_view kExportCaption = "Export To CSV";
inline constexpr std::string_view kShowAllCaption = "ดูทั้งหมด";
inline constexpr std::string_view kQuitCaption = "เ&ลิก";
inline constexpr std::string_view kNameBoxCaption = "ชื่อที่ต้องการค้นหา";
inline constexpr std::string_view kNameBoxHint = "( กด Enter )";
inline constexpr std::string_view kExportDonePrefix = "ดำเนินการสร้างแฟ้ม ";
inline constexpr std::string_view kExportDoneSuffix = " เรียบร้อยแล้ว...";

class ReportWindow : public TForm {
  // First, as the references below are made from them.
  ReportLayout layout_;
  std::unique_ptr<WindowQuery> query_;

 public:
  ReportWindow(TComponent* owner, ReportLayout layout, const WindowQueryFactory& make_query);
  ~ReportWindow() override;

  const ReportLayout& Layout() const { return layout_; }
  // "1" until a print button sets another.
  const std::string& ReportKind() const { return report_kind_; }
  // The period as the report prints it, taken from the pickers at each run.
  const std::string& PeriodBeginText() const { return period_begin_text_; }
  const std::string& PeriodEndText() const { return period_end_text_; }
  bool SetupPending() const { return setup_pending_; }

  // The run of the report's shape; `name_filter` (browse-and-print) adds the
  // name condition. SQL errors pass to the caller (the application's box).
  void Run(bool name_filter = false);

  TVTRDatabase& Database1;
  WindowQuery& Query1;
  TDataSource& DataSource1;
  TPageControl& PageControl1;
  TTabSheet& ResultPage;
  TTabSheet& ReportPage;
  TPanel& Panel1;
  // Each of these exists only in the shapes that have it (else null); a
  // search report may set Picker1 to a picker of its criteria.
  TDateTimePicker* Picker1 = nullptr;
  TDateTimePicker* Picker2 = nullptr;
  TRadioGroup* RadioGroup1 = nullptr;
  TEdit* Edit1 = nullptr;
  TButton* RunButton = nullptr;
  TButton* ShowAllButton = nullptr;
  TButton* ExportButton = nullptr;
  TDBGrid* DBGrid1 = nullptr;
  std::vector<TButton*> PrintButtons;
  std::vector<TLabel*> TotalLabels;  // one per money field
  TButton& QuitButton;

  TQuickRep& QuickRep1;
  TQRBand& PageHeaderBand;
  TQRBand& ColumnHeaderBand;
  TQRBand& DetailBand;
  TQRBand& SummaryBand;
  TQRLabel& TitleLabel;

 protected:
  // The window's own conditions, added after the fixed lines and before the
  // ORDER BY, with the parameters they name; called at each run.
  virtual void AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) {}
  // Called at the end of each run that opened its rows (with or without rows),
  // after ReportTotals and the total labels were filled from the money fields.
  virtual void RunDone() {}

  void FormCreate(TObject* sender);
  void FormActivate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void RunButtonClick(TObject* sender);
  void PickerCloseUp(TObject* sender);
  void RadioGroup1Click(TObject* sender);
  void Edit1KeyPress(TObject* sender, char32_t& key);
  void ShowAllButtonClick(TObject* sender);
  void DBGrid1CellClick(TColumn* column);
  void PrintButtonClick(const std::string& kind);
  void ExportButtonClick(TObject* sender);
  void QuickRep1BeforePrint(TQuickRep* sender, bool& print_report);
  void QuickRep1AfterPreview(TObject* sender);

 private:
  bool HasPeriod() const { return layout_.shape == ReportShape::Period; }
  void BuildPeriodControls(int& left);
  void BuildSortGroup(int& left);
  void BuildNameBox(int& left);
  void BuildButtons(int& left);
  void BuildGridAndTotals();
  void BuildReportBands();
  void SetSetupPeriod();
  void ShowTotals(const std::vector<Currency>& totals);
  void EnableOutput(bool has_rows);

  std::string report_kind_ = "1";
  std::string period_begin_text_;
  std::string period_end_text_;
  bool setup_pending_ = true;
};
