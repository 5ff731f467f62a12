#include "app/core/ReportWindow.h"

#include <tuple>
#include <utility>

#include "app/core/ColumnSum.h"
#include "app/core/CsvExport.h"
#include "app/core/MonthEnds.h"
#include "app/core/ProgramVariables.h"
#include "app/core/ReportStatement.h"
#include "app/core/ThaiDateText.h"
#include "app/core/WindowParts.h"
#include "app/core/WorkingFolder.h"
#include "engine/access/Database.h"
#include "platform/db/DB.h"
#include "platform/db/NumericFields.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr int kPanelHeight = 96;
constexpr int kTotalsHeight = 32;
constexpr int kButtonWidth = 96;
constexpr int kControlHeight = 25;
constexpr int kGap = 8;

TTabSheet& MakePage(TForm& form, TPageControl& pages, const std::string& name) {
  auto& page = MakeControl<TTabSheet>(form, name, 0, 0, 0, 0, &pages);
  page.SetPageControl(&pages);
  page.SetTabVisible(false);
  return page;
}

TQRBand& MakeBand(TQuickRep& report, TQRBandType type) {
  return *new TQRBand(&report, type);
}

}  // namespace

ReportWindow::ReportWindow(TComponent* owner, ReportLayout layout, const WindowQueryFactory& make_query)
    : TForm(owner),
      layout_(std::move(layout)),
      query_(make_query(*this, layout_.alias)),
      Database1(MakeWindowDatabase(*this, "Database1", layout_.alias)),
      Query1(*query_),
      DataSource1(*new TDataSource(this)),
      PageControl1(MakeControl<TPageControl>(*this, "PageControl1", 0, 0, 0, 0)),
      ResultPage(MakePage(*this, PageControl1, "TabSheet1")),
      ReportPage(MakePage(*this, PageControl1, "TabSheet2")),
      Panel1(MakeControl<TPanel>(*this, "Panel1", 0, 0, 0, kPanelHeight, &ResultPage)),
      QuitButton(MakeControl<TButton>(*this, "QuitButton", 0, 0, kButtonWidth, kControlHeight, &Panel1)),
      QuickRep1(*new TQuickRep(this)),
      PageHeaderBand(MakeBand(QuickRep1, rbPageHeader)),
      ColumnHeaderBand(MakeBand(QuickRep1, rbColumnHeader)),
      DetailBand(MakeBand(QuickRep1, rbDetail)),
      SummaryBand(MakeBand(QuickRep1, rbSummary)),
      TitleLabel(*new TQRLabel(&PageHeaderBand)) {
  SetFormStyle(fsMDIChild);
  PageControl1.SetAlign(alClient);
  Panel1.SetAlign(alTop);
  DataSource1.SetAutoEdit(false);
  // Report expressions name the rows "Query1", as in "SUM(Query1.total)".
  Query1.Rows().SetName("Query1");
  DataSource1.SetDataSet(&Query1.Rows());

  int left = kGap;
  if (layout_.shape == ReportShape::Period) BuildPeriodControls(left);
  if (layout_.shape != ReportShape::BrowseAndPrint) BuildSortGroup(left);
  if (layout_.shape == ReportShape::BrowseAndPrint) BuildNameBox(left);
  BuildButtons(left);
  if (layout_.shape != ReportShape::List) BuildGridAndTotals();
  BuildReportBands();

  OnCreate = Bind(this, &ReportWindow::FormCreate);
  OnActivate = Bind(this, &ReportWindow::FormActivate);
  OnClose = Bind(this, &ReportWindow::FormClose);
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::BuildPeriodControls(int& left) {
  for (auto [picker, name, caption] : {std::tuple{&Picker1, "Picker1", kPeriodBeginCaption},
                                       std::tuple{&Picker2, "Picker2", kPeriodEndCaption}}) {
    MakeLabel(*this, std::string(name) + "Label", caption, left, kGap, 120, &Panel1);
    *picker = &MakeControl<TDateTimePicker>(*this, name, left, kGap + 20, 120, kControlHeight, &Panel1);
    (*picker)->OnCloseUp = Bind(this, &ReportWindow::PickerCloseUp);
    left += 120 + kGap;
  }
}

void ReportWindow::BuildSortGroup(int& left) {
  RadioGroup1 = &MakeControl<TRadioGroup>(*this, "RadioGroup1", left, 2, 160, kPanelHeight - 4, &Panel1);
  RadioGroup1->SetCaption(layout_.sort_caption);
  RadioGroup1->SetItems(layout_.sort_items);
  left += 160 + kGap;
  // FormCreate binds the click handler once it has chosen the first item, as
  // a choice made by code runs the handler too.
}

void ReportWindow::BuildNameBox(int& left) {
  MakeLabel(*this, "Label1", kNameBoxCaption, left, kGap, 200, &Panel1);
  Edit1 = &MakeControl<TEdit>(*this, "Edit1", left, kGap + 20, 200, kControlHeight, &Panel1);
  Edit1->OnKeyPress = Bind(this, &ReportWindow::Edit1KeyPress);
  MakeLabel(*this, "Label2", kNameBoxHint, left, kGap + 50, 200, &Panel1);
  left += 200 + kGap;
  ShowAllButton =
      &MakeControl<TButton>(*this, "ShowAllButton", left, kGap + 20, kButtonWidth, kControlHeight, &Panel1);
  ShowAllButton->SetCaption(std::string(kShowAllCaption));
  ShowAllButton->OnClick = Bind(this, &ReportWindow::ShowAllButtonClick);
  left += kButtonWidth + kGap;
}

void ReportWindow::BuildButtons(int& left) {
  auto add = [this, &left](const std::string& name, std::string_view caption) -> TButton& {
    auto& button = MakeControl<TButton>(*this, name, left, kGap + 20, kButtonWidth, kControlHeight, &Panel1);
    button.SetCaption(std::string(caption));
    left += kButtonWidth + kGap;
    return button;
  };
  if (layout_.shape == ReportShape::Period || layout_.shape == ReportShape::Search) {
    RunButton = &add("RunButton", kRunCaption);
    RunButton->OnClick = Bind(this, &ReportWindow::RunButtonClick);
  }
  for (const ReportPrintButton& print : layout_.print_buttons) {
    TButton& button = add("PrintButton" + std::to_string(PrintButtons.size() + 1), print.caption);
    button.OnClick = [this, kind = print.kind](TObject*) { PrintButtonClick(kind); };
    PrintButtons.push_back(&button);
  }
  if (layout_.shape == ReportShape::Period && !layout_.csv_name.empty()) {
    ExportButton = &add("ExportButton", kExportCaption);
    ExportButton->OnClick = Bind(this, &ReportWindow::ExportButtonClick);
  }
  QuitButton.SetCaption(std::string(kQuitCaption));
  QuitButton.SetBounds(left, kGap + 20, kButtonWidth, kControlHeight);
  QuitButton.OnClick = [this](TObject*) { Close(); };
}

void ReportWindow::BuildGridAndTotals() {
  auto& totals = MakeControl<TPanel>(*this, "Panel2", 0, 0, 0, kTotalsHeight, &ResultPage);
  totals.SetAlign(alBottom);
  int left = kGap;
  for (size_t i = 0; i < layout_.money_fields.size(); ++i) {
    auto& label = MakeControl<TLabel>(*this, "TotalLabel" + std::to_string(i + 1), left, kGap, 120, 16, &totals);
    label.SetAutoSize(false);
    label.SetAlignment(taRightJustify);
    label.SetCaption(Currency().Format());
    TotalLabels.push_back(&label);
    left += 120 + kGap;
  }
  DBGrid1 = &MakeControl<TDBGrid>(*this, "DBGrid1", 0, 0, 0, 0, &ResultPage);
  DBGrid1->SetAlign(alClient);
  DBGrid1->SetReadOnly(true);
  DBGrid1->SetDataSource(&DataSource1);
  if (layout_.shape == ReportShape::BrowseAndPrint) {
    DBGrid1->OnCellClick = Bind(this, &ReportWindow::DBGrid1CellClick);
  }
}

void ReportWindow::BuildReportBands() {
  QuickRep1.SetDataSet(&Query1.Rows());
  QuickRep1.SetPrintIfEmpty(true);
  QuickRep1.SetOptions({FirstPageHeader});
  QuickRep1.BeforePrint = Bind(this, &ReportWindow::QuickRep1BeforePrint);
  QuickRep1.AfterPreview = Bind(this, &ReportWindow::QuickRep1AfterPreview);
  TitleLabel.SetAlignToBand(true);
  TitleLabel.SetAlignment(taCenter);
  auto& date = *new TQRSysData(&PageHeaderBand);
  date.SetData(qrsDate);
  auto& page_caption = *new TQRLabel(&PageHeaderBand);
  page_caption.SetCaption("หน้า");
  auto& page_number = *new TQRSysData(&PageHeaderBand);
  page_number.SetData(qrsPageNumber);
  const int right = PageHeaderBand.Width();
  date.SetLeft(0);
  date.SetTop(24);
  page_caption.SetLeft(right - 80);
  page_caption.SetTop(24);
  page_number.SetLeft(right - 40);
  page_number.SetTop(24);
}

void ReportWindow::FormCreate(TObject*) {
  SetBounds(layout_.left, layout_.top, Width(), Height());
  setup_pending_ = true;
  PageControl1.SetActivePage(&ResultPage);
  if (RadioGroup1 != nullptr) {
    RadioGroup1->SetItemIndex(0);
    RadioGroup1->OnClick = Bind(this, &ReportWindow::RadioGroup1Click);
  }
  if (HasPeriod() && layout_.period_start == ReportPeriodStart::Today) {
    Picker1->SetDate(Date());
    Picker2->SetDate(Date());
  }
}

void ReportWindow::FormActivate(TObject*) {
  if (!setup_pending_) return;
  setup_pending_ = false;
  if (HasPeriod() && layout_.period_start == ReportPeriodStart::CurrentMonth) SetSetupPeriod();
  EnableOutput(false);
  SetCaption(layout_.caption);
  TitleLabel.SetCaption(layout_.title);
  if (HasPeriod()) {
    period_begin_text_ = DateToThaiText(Picker1->Date());
    period_end_text_ = DateToThaiText(Picker2->Date());
  }
  PageControl1.SetActivePage(&ResultPage);
  if (layout_.run_at_setup) Run();
}

void ReportWindow::SetSetupPeriod() {
  int year = 0;
  int month = 0;
  int day = 0;
  DecodeDate(Date(), year, month, day);
  Picker1->SetDate(ThaiTextToDate(FirstDayOfMonthText(month, year + 543)));
  Picker2->SetDate(ThaiTextToDate(LastDayOfMonthText(month, year + 543)));
}

void ReportWindow::FormClose(TObject*, TCloseAction& action) {
  Database1.Close();
  action = caFree;
}

void ReportWindow::Run(bool name_filter) {
  std::vector<std::string> lines = layout_.statement;
  if (name_filter) lines.push_back(layout_.name_condition);
  std::vector<QueryParameter> own_parameters;
  AddConditions(lines, own_parameters);
  QueryStatement statement =
      ReportStatement(lines, layout_.order_lines, RadioGroup1 != nullptr ? RadioGroup1->ItemIndex() : -1);
  for (QueryParameter& parameter : own_parameters) statement.parameters.push_back(std::move(parameter));
  if (name_filter) statement.parameters.push_back({layout_.name_parameter, Variant(NameFilterPattern(Edit1->Text()))});
  if (HasPeriod()) {
    AddPeriod(statement, Picker1->Date(), Picker2->Date());
    // The printout names the period of the rows it shows.
    period_begin_text_ = DateToThaiText(Picker1->Date());
    period_end_text_ = DateToThaiText(Picker2->Date());
  }
  // Until the new rows are in, nothing of an earlier run may be shown as
  // current, printed or exported: a failing statement leaves the rows closed.
  myVar.ReportTotals.fill(0);
  std::vector<Currency> totals(layout_.money_fields.size());
  ShowTotals(totals);
  EnableOutput(false);
  Query1.Open(statement);
  TDataSet& rows = Query1.Rows();
  for (const std::string& name : layout_.money_fields) {
    if (auto* money = dynamic_cast<TNumericField*>(rows.FieldByName(name))) money->SetDisplayFormat(std::string(kMoneyMask));
  }
  if (!rows.IsEmpty()) {
    EnableOutput(true);
    for (size_t i = 0; i < totals.size(); ++i) {
      totals[i] = SumColumn(rows, layout_.money_fields[i]);
      myVar.ReportTotals.at(i) = totals[i].ToDouble();
    }
    rows.First();
    ShowTotals(totals);
  }
  RunDone();
}

void ReportWindow::ShowTotals(const std::vector<Currency>& totals) {
  for (size_t i = 0; i < TotalLabels.size(); ++i) TotalLabels[i]->SetCaption(totals[i].Format());
}

void ReportWindow::EnableOutput(bool has_rows) {
  if (layout_.shape != ReportShape::Period) return;
  for (TButton* button : PrintButtons) button->SetEnabled(has_rows);
  if (ExportButton != nullptr) ExportButton->SetEnabled(has_rows);
}

void ReportWindow::RunButtonClick(TObject*) {
  Run();
}

void ReportWindow::PickerCloseUp(TObject*) {
  Run();
}

void ReportWindow::RadioGroup1Click(TObject*) {
  // A list report runs when it prints.
  if (layout_.shape != ReportShape::List) Run();
}

void ReportWindow::Edit1KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  Run(true);
}

void ReportWindow::ShowAllButtonClick(TObject*) {
  Edit1->Clear();
  Run();
}

void ReportWindow::DBGrid1CellClick(TColumn*) {
  TDataSet& rows = Query1.Rows();
  if (!rows.Active() || rows.IsEmpty()) return;
  Edit1->SetText(rows.FieldByName(layout_.name_field)->AsString());
  Edit1->SetFocus();
}

void ReportWindow::PrintButtonClick(const std::string& kind) {
  report_kind_ = kind;
  if (layout_.shape == ReportShape::List) Run();
  QuickRep1.Preview();
}

void ReportWindow::ExportButtonClick(TObject*) {
  TDataSet& rows = Query1.Rows();
  rows.First();
  const std::string file_name = std::string(kCsvFolder) + "\\" + layout_.csv_name + ".csv";
  if (ExportQueryToCsv(file_name, rows)) {
    ShowMessage(std::string(kExportDonePrefix) + file_name + std::string(kExportDoneSuffix));
  }
}

void ReportWindow::QuickRep1BeforePrint(TQuickRep*, bool&) {
  for (TQRBand* band : QuickRep1.Bands()) band->SetColor(clWhite);
  const bool detail = report_kind_ != "2";
  DetailBand.SetEnabled(detail);
  ColumnHeaderBand.SetEnabled(detail);
}

void ReportWindow::QuickRep1AfterPreview(TObject*) {
  PageControl1.SetActivePage(&ResultPage);
}
