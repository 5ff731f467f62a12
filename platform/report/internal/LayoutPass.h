#pragma once
// The one layout pass of a report: walks the dataset, runs the band events and
// places bands and items on pages. Items place themselves through it.
#include <string>
#include <vector>

#include "platform/report/PrintedReport.h"
#include "platform/report/internal/Expression.h"
#include "platform/rtl/DateTime.h"

class TDataSet;
class TQuickRep;
class TQRBand;
class TQRGroup;
class TQRPrintable;
class TQRCustomLabel;

inline constexpr double kMillimetresPerPixel = 25.4 / 96.0;

class TQRLayoutPass {
 public:
  // Raises EQuickReportError when the margins leave no room to print.
  TQRLayoutPass(TQuickRep& report, TQRPrintedReport& output);
  void Run();

  // ---- For the items while they print.
  const TQuickRep& Report() const { return report_; }
  int PageNumber() const;
  int RecordNumber() const;
  TDateTime StartTime() const { return start_time_; }
  void PlaceText(const TQRCustomLabel& item, const std::string& text);
  // Places a non-text item over its own rectangle.
  TQRPrintedItem& PlaceItem(const TQRPrintable& item, TQRItemKind kind);

 private:
  struct Group {
    TQRGroup* band;
    TQRFieldExpression expression;
    std::string value;
  };

  void CollectBands();
  void PrintOnce(bool with_detail);
  void WalkRows(TDataSet& dataset);
  void PrintDetail();
  void PassRecord();
  std::string GroupValue(const Group& group) const;
  size_t FirstChangedGroup() const;
  void PrintGroupFooters(size_t from);

  void StartPage();
  void FinishPage(bool last);
  // Runs the band's BeforePrint; false when the band is disabled or its handler
  // leaves it out.
  bool WantsToPrint(TQRBand& band);
  void AfterPrint(TQRBand& band, bool printed);
  // Prints a band in the body of the page, on the next page when it does not fit.
  void PrintBody(TQRBand& band);
  // Prints a band at the current position whether it fits or not.
  void PrintHeader(TQRBand& band);
  void Place(TQRBand& band, double top);
  std::vector<TQRBand*> BandsOf(TQRBandType type) const;

  TQuickRep& report_;
  TQRPrintedReport& output_;
  std::vector<TQRBand*> bands_;
  std::vector<TQRPrintable*> items_;
  std::vector<Group> groups_;
  TDateTime start_time_ = 0;
  // Millimetres from the top of the paper: where the next band goes, where the
  // body of the page began and where it must end.
  double y_ = 0;
  double body_top_ = 0;
  double body_bottom_ = 0;
  TQRRect band_rect_;
  // Runs once, right before the next detail band is placed (its row's sums count then).
  bool record_pending_ = false;
};
