#pragma once
// The money reports of the temple program over a period of whole days:
// Tr_Buy_H adds up the purchase bills of h_fill not yet processed (fg_clear
// "0") with value added tax by the tax status and rate of hotel_sys;
// Tr_Sale_H adds up the usage voucher lines of h_temple of the item kind the
// main window chose in SaleReportType, without tax. Amounts are summed
// exactly as Currency.
//
// Nothing runs until "ประมวลผล"; after that every date change runs again.
// Picking the start date moves the end date to the same day. "พิมพ์" prints
// at any time, the printout showing the same amounts as the window.
#include <string>

#include "app/core/Currency.h"
#include "app/core/ReportWindow.h"

// What the purchase and the income report do not share.
struct MoneyReportKind {
  const char* alias;
  const char* caption;
  const char* title;
  std::vector<std::string> statement;  // with :mBegin and :mEnd
  const char* order_line;
  const char* member_title;
  const char* name_title;
  const char* number_field;
  const char* date_field;
  bool taxed;  // tax status and rate from hotel_sys
  int left;
};

class Tr_Buy_H : public ReportWindow {
 public:
  explicit Tr_Buy_H(TComponent* owner);
  Tr_Buy_H(TComponent* owner, const WindowQueryFactory& make_query);

  Currency Sum() const { return sum_; }
  Currency Tax() const { return tax_; }
  Currency GrandTotal() const { return grand_total_; }

  TPanel* Panel3;
  TLabel* Label7;  // "รวมเงิน"
  TLabel* Label8;  // the sum
  TLabel* Label5;  // "ภาษี"
  TLabel* Label6;  // the tax
  TLabel* Label9;  // "รวมทั้งสิ้น"
  TLabel* Label10;  // the grand total
  TQRLabel* QRLabel8;
  TQRLabel* QRLabel10;
  TQRLabel* QRLabel11;
  TQRLabel* QRLabel12;
  TQRLabel* QRLabel7;
  TQRLabel* QRLabel13;

  void Picker1CloseUp(TObject* sender);
  void Picker2CloseUp(TObject* sender);
  void QrSale1BeforePrint(TQuickRep* sender, bool& print_report);

 protected:
  Tr_Buy_H(TComponent* owner, const WindowQueryFactory& make_query, const MoneyReportKind& kind);
  void AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) override;
  void RunDone() override;
  // The tax status and rate, read at the first activation.
  std::string tax_status_;
  double tax_rate_ = 0;

 private:
  void Activate(TObject* sender);
  void BuildTotals();
  void BuildReportItems();
  void ShowTaxLabels();

  const MoneyReportKind kind_;
  bool has_run_ = false;
  Currency sum_;
  Currency tax_;
  Currency grand_total_;
};

class Tr_Sale_H : public Tr_Buy_H {
 public:
  explicit Tr_Sale_H(TComponent* owner);
  Tr_Sale_H(TComponent* owner, const WindowQueryFactory& make_query);

 protected:
  void AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) override;

 private:
  std::string sale_type_;
};
