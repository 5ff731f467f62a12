#include "app/core/ProfitWindow.h"

#include <string>
#include <vector>

#include "app/core/ColumnSum.h"
#include "app/core/ReportStatement.h"
#include "app/core/SqlWindowQuery.h"
#include "app/core/WindowParts.h"
#include "engine/access/Database.h"
#include "platform/db/DB.h"

namespace {

const std::string kProfitAlias = "d_profit_h";

const std::vector<std::string> kIncomeStatement{"select work_no , work_date , total from h_work ",
                                                " where ((work_date >=:mBegin) and (work_date <=:mEnd)) ",
                                                " order by work_date "};
const std::vector<std::string> kExpenseStatement{"select fill_no , fill_date , total from h_fill ",
                                                 " where ((fill_date >=:mBegin) and (fill_date <=:mEnd)) ",
                                                 " order by fill_date "};

}  // namespace

Tprofit::Tprofit(TComponent* owner, const WindowQueryFactory& make_query)
    : TForm(owner),
      income_query_(make_query(*this, kProfitAlias)),
      expense_query_(make_query(*this, kProfitAlias)),
      Database1(MakeWindowDatabase(*this, "Database1", kProfitAlias)),
      Query1(*income_query_),
      Query2(*expense_query_),
      Picker1(MakeControl<TDateTimePicker>(*this, "Picker1", 120, 16, 120, 25)),
      Picker2(MakeControl<TDateTimePicker>(*this, "Picker2", 120, 48, 120, 25)),
      SpeedButton3(MakeControl<TButton>(*this, "SpeedButton3", 260, 16, 96, 25)),
      SpeedButton1(MakeControl<TButton>(*this, "SpeedButton1", 260, 48, 96, 25)),
      Label6(MakeLabel(*this, "Label6", Currency().Format(), 160, 96, 140)),
      Label7(MakeLabel(*this, "Label7", Currency().Format(), 160, 124, 140)),
      Label8(MakeLabel(*this, "Label8", Currency().Format(), 160, 152, 140)) {
  SetFormStyle(fsMDIChild);
  Database1.SetKeepConnection(false);
  SetCaption(std::string(kProfitCaption));
  SetClientWidth(380);
  SetClientHeight(184);
  MakeLabel(*this, "Label1", kPeriodBeginCaption, 16, 20, 140);
  MakeLabel(*this, "Label2", kPeriodEndCaption, 16, 52, 140);
  MakeLabel(*this, "Label3", kIncomeCaption, 16, 96, 140);
  MakeLabel(*this, "Label4", kExpenseCaption, 16, 124, 140);
  MakeLabel(*this, "Label5", kDifferenceCaption, 16, 152, 140);
  for (TLabel* total : {&Label6, &Label7, &Label8}) {
    total->SetAutoSize(false);
    total->SetAlignment(taRightJustify);
  }
  SpeedButton3.SetCaption("&ประมวลผล");
  SpeedButton1.SetCaption("เ&ลิก");
  SpeedButton3.OnClick = Bind(this, &Tprofit::SpeedButton3Click);
  SpeedButton1.OnClick = Bind(this, &Tprofit::SpeedButton1Click);
  Picker1.OnClick = Bind(this, &Tprofit::Picker1Chosen);
  Picker1.OnCloseUp = Bind(this, &Tprofit::Picker1Chosen);
  Picker2.OnCloseUp = Bind(this, &Tprofit::Picker2CloseUp);
  OnCreate = Bind(this, &Tprofit::FormCreate);
  OnActivate = Bind(this, &Tprofit::FormActivate);
  OnClose = Bind(this, &Tprofit::FormClose);
}

Tprofit::Tprofit(TComponent* owner) : Tprofit(owner, SqlQueries()) {}

Tprofit::~Tprofit() = default;

void Tprofit::FormCreate(TObject*) {
  SetBounds(55, 15, Width(), Height());
  setup_pending_ = true;
  Picker1.SetDate(Date());
  Picker2.SetDate(Date());
}

void Tprofit::FormActivate(TObject*) {
  setup_pending_ = false;
}

void Tprofit::FormClose(TObject*, TCloseAction& action) {
  Query1.Rows().Close();
  action = caFree;
}

void Tprofit::SpeedButton3Click(TObject*) {
  setup_pending_ = false;
  Compute();
}

void Tprofit::SpeedButton1Click(TObject*) {
  Close();
}

void Tprofit::Picker1Chosen(TObject*) {
  Picker2.SetDate(Picker1.Date());
  Compute();
}

void Tprofit::Picker2CloseUp(TObject*) {
  Compute();
}

void Tprofit::Compute() {
  if (setup_pending_) return;
  income_ = PeriodSum(Query1, kIncomeStatement);
  expense_ = PeriodSum(Query2, kExpenseStatement);
  difference_ = income_ - expense_;
  Label7.SetCaption(expense_.Format());
  Label6.SetCaption(income_.Format());
  Label8.SetCaption(difference_.Format());
}

Currency Tprofit::PeriodSum(WindowQuery& query, const std::vector<std::string>& lines) {
  QueryStatement statement{lines, {}};
  AddPeriod(statement, Picker1.Date(), Picker2.Date());
  query.Open(statement);
  const Currency sum = SumColumn(query.Rows(), "total");
  query.Rows().Close();
  return sum;
}
