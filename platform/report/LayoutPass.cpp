#include "platform/report/internal/LayoutPass.h"

#include <algorithm>

#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/report/Band.h"
#include "platform/report/Report.h"
#include "platform/report/ReportErrors.h"
#include "platform/report/TextItems.h"
#include "platform/report/internal/TextMetrics.h"
#include "platform/rtl/Format.h"

namespace {

// Slack for comparing positions that went through floating-point sums.
constexpr double kTolerance = 1e-6;

double Mm(double pixels) {
  return pixels * kMillimetresPerPixel;
}

std::string FormatMm(double value) {
  return Format("%.1f", value);
}

}  // namespace

TQRLayoutPass::TQRLayoutPass(TQuickRep& report, TQRPrintedReport& output) : report_(report), output_(output) {
  const TQRPage& page = report.Page();
  if (page.PrintableWidth() <= kTolerance || page.PrintableLength() <= kTolerance) {
    throw EQuickReportError(
        Format("%s: the margins leave no room to print on paper of %s x %s mm (top %s, bottom %s, left %s, "
               "right %s mm)",
               report.Name().empty() ? std::string("The report") : report.Name(), FormatMm(page.Width()),
               FormatMm(page.Length()), FormatMm(page.TopMargin()), FormatMm(page.BottomMargin()),
               FormatMm(page.LeftMargin()), FormatMm(page.RightMargin())));
  }
}

int TQRLayoutPass::PageNumber() const {
  return report_.page_number_;
}
int TQRLayoutPass::RecordNumber() const {
  return report_.record_number_;
}

void TQRLayoutPass::Run() {
  output_ = TQRPrintedReport{};
  output_.title = report_.ReportTitle();
  output_.paper_width = report_.Page().Width();
  output_.paper_length = report_.Page().Length();
  report_.page_number_ = 0;
  report_.record_number_ = 0;
  start_time_ = Now();
  CollectBands();
  for (TQRPrintable* item : items_) item->Reset();

  TDataSet* dataset = report_.DataSet();
  if (dataset == nullptr) {
    PrintOnce(true);
    return;
  }
  if (!dataset->Active()) dataset->Open();
  dataset->First();
  if (!dataset->IsEmpty()) {
    WalkRows(*dataset);
  } else if (report_.PrintIfEmpty()) {
    PrintOnce(false);
  }
}

void TQRLayoutPass::CollectBands() {
  bands_ = report_.Bands();
  for (TQRBand* band : bands_) {
    for (TQRPrintable* item : band->Items()) items_.push_back(item);
    if (auto* group = dynamic_cast<TQRGroup*>(band)) {
      groups_.push_back({group, ParseFieldExpression(group->Expression(), group->Name()), {}});
    }
  }
}

std::vector<TQRBand*> TQRLayoutPass::BandsOf(TQRBandType type) const {
  std::vector<TQRBand*> found;
  for (TQRBand* band : bands_) {
    if (band->BandType() == type) found.push_back(band);
  }
  return found;
}

void TQRLayoutPass::PrintOnce(bool with_detail) {
  StartPage();
  if (with_detail) {
    report_.record_number_ = 1;
    PrintDetail();
  }
  for (TQRBand* band : BandsOf(rbSummary)) PrintBody(*band);
  FinishPage(true);
}

void TQRLayoutPass::WalkRows(TDataSet& dataset) {
  StartPage();
  size_t changed = 0;
  for (;;) {
    for (size_t i = changed; i < groups_.size(); ++i) {
      groups_[i].value = GroupValue(groups_[i]);
      PrintBody(*groups_[i].band);
    }
    ++report_.record_number_;
    PrintDetail();
    dataset.Next();
    if (dataset.Eof()) break;
    changed = FirstChangedGroup();
    if (changed < groups_.size()) {
      // Footers read the last row of their group.
      dataset.Prior();
      PrintGroupFooters(changed);
      dataset.Next();
    }
  }
  PrintGroupFooters(0);
  for (TQRBand* band : BandsOf(rbSummary)) PrintBody(*band);
  FinishPage(true);
}

void TQRLayoutPass::PrintDetail() {
  record_pending_ = true;
  for (TQRBand* band : BandsOf(rbDetail)) PrintBody(*band);
  if (record_pending_) PassRecord();
}

void TQRLayoutPass::PassRecord() {
  record_pending_ = false;
  for (TQRPrintable* item : items_) item->RecordPassed();
}

std::string TQRLayoutPass::GroupValue(const Group& group) const {
  const TField* field = ResolveField(report_, group.expression, group.band->Name());
  return field != nullptr ? field->AsString() : std::string();
}

size_t TQRLayoutPass::FirstChangedGroup() const {
  for (size_t i = 0; i < groups_.size(); ++i) {
    if (GroupValue(groups_[i]) != groups_[i].value) return i;
  }
  return groups_.size();
}

void TQRLayoutPass::PrintGroupFooters(size_t from) {
  for (size_t i = groups_.size(); i-- > from;) {
    if (TQRBand* footer = groups_[i].band->FooterBand()) PrintBody(*footer);
  }
}

void TQRLayoutPass::StartPage() {
  const TQRPage& page = report_.Page();
  output_.pages.push_back({});
  output_.pages.back().number = ++report_.page_number_;
  y_ = page.TopMargin();
  double footer_height = 0;
  for (TQRBand* band : BandsOf(rbPageFooter)) {
    if (band->Enabled()) footer_height += Mm(band->Height());
  }
  body_bottom_ = page.Length() - page.BottomMargin() - footer_height;
  if (report_.page_number_ > 1 || report_.Options().Contains(FirstPageHeader)) {
    for (TQRBand* band : BandsOf(rbPageHeader)) PrintHeader(*band);
  }
  if (report_.page_number_ == 1) {
    for (TQRBand* band : BandsOf(rbTitle)) PrintHeader(*band);
  }
  for (TQRBand* band : BandsOf(rbColumnHeader)) PrintHeader(*band);
  body_top_ = y_;
}

void TQRLayoutPass::FinishPage(bool last) {
  if (report_.Options().Contains(LastPageFooter) && !last) return;
  // Footers stack up from the bottom margin, with the heights their handlers leave.
  std::vector<TQRBand*> printing;
  for (TQRBand* band : BandsOf(rbPageFooter)) {
    if (WantsToPrint(*band)) {
      printing.push_back(band);
    } else {
      AfterPrint(*band, false);
    }
  }
  double top = report_.Page().Length() - report_.Page().BottomMargin();
  for (TQRBand* band : printing) top -= Mm(band->Height());
  for (TQRBand* band : printing) {
    Place(*band, top);
    top += Mm(band->Height());
    AfterPrint(*band, true);
  }
}

bool TQRLayoutPass::WantsToPrint(TQRBand& band) {
  if (!band.Enabled()) return false;
  bool print = true;
  if (band.BeforePrint) band.BeforePrint(&band, print);
  return print;
}

void TQRLayoutPass::AfterPrint(TQRBand& band, bool printed) {
  if (band.Enabled() && band.AfterPrint) band.AfterPrint(&band, printed);
}

void TQRLayoutPass::PrintBody(TQRBand& band) {
  const bool print = WantsToPrint(band);
  if (print) {
    const double height = Mm(band.Height());
    // A band taller than an empty page goes on it anyway rather than forever to the next.
    if (y_ + height > body_bottom_ + kTolerance && y_ > body_top_ + kTolerance) {
      FinishPage(false);
      StartPage();
    }
    if (band.BandType() == rbDetail && record_pending_) PassRecord();
    Place(band, y_);
    y_ += height;
  }
  AfterPrint(band, print);
}

void TQRLayoutPass::PrintHeader(TQRBand& band) {
  const bool print = WantsToPrint(band);
  if (print) {
    Place(band, y_);
    y_ += Mm(band.Height());
  }
  AfterPrint(band, print);
}

void TQRLayoutPass::Place(TQRBand& band, double top) {
  const TQRPage& page = report_.Page();
  band_rect_ = {page.LeftMargin(), top, page.PrintableWidth(), Mm(band.Height())};
  output_.pages.back().bands.push_back({band.Name(), band.BandType(), band_rect_, band.Color()});
  const std::vector<TQRPrintable*> items = band.Items();
  for (TQRPrintable* item : items) {
    if (item->Enabled()) item->Print(*this);
  }
  for (TQRPrintable* item : items) {
    if (item->Enabled()) item->Printed();
  }
}

TQRPrintedItem& TQRLayoutPass::PlaceItem(const TQRPrintable& item, TQRItemKind kind) {
  TQRPrintedItem& placed = output_.pages.back().items.emplace_back();
  placed.name = item.Name();
  placed.kind = item.ClassName();
  placed.item_kind = kind;
  placed.bounds = {band_rect_.left + Mm(item.Left()), band_rect_.top + Mm(item.Top()), Mm(item.Width()),
                   Mm(item.Height())};
  return placed;
}

void TQRLayoutPass::PlaceText(const TQRCustomLabel& item, const std::string& text) {
  const TFont& font = item.Font();
  const std::vector<std::string> lines =
      item.WordWrap() ? WrapText(font, text, item.Width()) : SplitLines(text);
  std::vector<double> widths;
  for (const std::string& line : lines) widths.push_back(TextWidth(font, line));

  double left = item.Left();
  double width = item.Width();
  auto shift = [&](double room) {
    if (item.Alignment() == taRightJustify) return room;
    if (item.Alignment() == taCenter) return room / 2;
    return 0.0;
  };
  if (item.AutoSize() && !item.WordWrap()) {
    const double text_width = widths.empty() ? 0.0 : *std::max_element(widths.begin(), widths.end());
    left += shift(width - text_width);
    width = text_width;
  }
  if (item.AlignToBand()) left = shift(band_rect_.width / kMillimetresPerPixel - width);
  const TQRLineMetrics metrics = LineMetrics(font);
  const double height =
      std::max<double>(item.Height(), item.WordWrap() ? lines.size() * metrics.height : 0.0);

  TQRPrintedItem& placed = PlaceItem(item, TQRItemKind::Text);
  placed.bounds = {band_rect_.left + Mm(left), band_rect_.top + Mm(item.Top()), Mm(width), Mm(height)};
  placed.text = text;
  placed.font = font;
  for (size_t i = 0; i < lines.size(); ++i) {
    placed.lines.push_back({lines[i], placed.bounds.left + Mm(shift(width - widths[i])),
                            placed.bounds.top + Mm(metrics.ascent + i * metrics.height)});
  }
}
