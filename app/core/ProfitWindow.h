#pragma once
// Tprofit: income (the h_work totals), expense (the h_fill totals) and their
// difference over a period of whole days, summed exactly as Currency. Nothing
// is computed until the user runs it or picks a date; picking the start date
// makes the period that one day until an end date is picked.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/Currency.h"
#include "app/core/WindowQuery.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"

class TVTRDatabase;

inline constexpr std::string_view kProfitCaption = " กำไร - ขาดทุน";
inline constexpr std::string_view kIncomeCaption = "รายการขายสินค้า";
inline constexpr std::string_view kExpenseCaption = "รายการซื้อสินค้า";
inline constexpr std::string_view kDifferenceCaption = "กำไร - ขาดทุน";

class Tprofit : public TForm {
  // First, as the references below are made from them.
  std::unique_ptr<WindowQuery> income_query_;
  std::unique_ptr<WindowQuery> expense_query_;

 public:
  // `make_query` makes Query1 (h_work) and then Query2 (h_fill).
  Tprofit(TComponent* owner, const WindowQueryFactory& make_query);
  // The programs' window, on the SQL engine.
  explicit Tprofit(TComponent* owner);
  ~Tprofit() override;

  bool SetupPending() const { return setup_pending_; }
  Currency Income() const { return income_; }
  Currency Expense() const { return expense_; }
  Currency Difference() const { return difference_; }

  TVTRDatabase& Database1;
  WindowQuery& Query1;
  WindowQuery& Query2;
  TDateTimePicker& Picker1;
  TDateTimePicker& Picker2;
  TButton& SpeedButton3;
  TButton& SpeedButton1;
  TLabel& Label6;  // income
  TLabel& Label7;  // expense
  TLabel& Label8;  // difference

 private:
  void FormCreate(TObject* sender);
  void FormActivate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void SpeedButton3Click(TObject* sender);
  void SpeedButton1Click(TObject* sender);
  void Picker1Chosen(TObject* sender);
  void Picker2CloseUp(TObject* sender);
  // Skipped while the set-up is pending.
  void Compute();
  // The sum of the totals of the period's rows of the statement; the query is
  // closed after.
  Currency PeriodSum(WindowQuery& query, const std::vector<std::string>& lines);

  Currency income_;
  Currency expense_;
  Currency difference_;
  bool setup_pending_ = true;
};
