#include "platform/report/TextItems.h"

#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/report/Band.h"
#include "platform/report/Report.h"
#include "platform/report/internal/Expression.h"
#include "platform/report/internal/LayoutPass.h"
#include "platform/rtl/FormatFloat.h"
#include "platform/ui/FieldText.h"
#include "platform/ui/ThaiDate.h"

namespace {

bool IsNumberType(TFieldType type) {
  switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftAutoInc:
    case ftLargeint:
    case ftFMTBcd:
      return true;
    default:
      return false;
  }
}

// A field's value through a mask: numbers by FormatFloat, dates and times as
// the windows show them with the mask as their format; without a mask, or for
// other types, the text the windows show.
std::string MaskedText(const TField& field, const std::string& mask) {
  if (field.IsNull()) return {};
  if (!mask.empty() && IsNumberType(field.DataType())) return FormatFloat(mask, field.AsFloat());
  return FieldDisplayText(field, mask);
}

}  // namespace

void TQRCustomLabel::Print(TQRLayoutPass& pass) {
  pass.PlaceText(*this, PrintedText(pass));
}

void TQRDBText::SetDataSet(TDataSet* dataset) {
  if (dataset_ != nullptr) dataset_->RemoveFreeNotification(this);
  dataset_ = dataset;
  if (dataset != nullptr) dataset->FreeNotification(this);
}

void TQRDBText::Notification(TComponent* component, TOperation operation) {
  TQRCustomLabel::Notification(component, operation);
  if (operation == opRemove && component == dataset_) dataset_ = nullptr;
}

std::string TQRDBText::PrintedText(const TQRLayoutPass& pass) const {
  if (dataset_ == nullptr || !dataset_->Active()) return {};
  return MaskedText(*dataset_->FieldByName(data_field_), mask_);
}

std::string TQRSysData::PrintedText(const TQRLayoutPass& pass) const {
  switch (data_) {
    case qrsDate:
      return text_ + BuddhistDateText(pass.StartTime());
    case qrsTime:
      return text_ + TimeToStr(pass.StartTime());
    case qrsDateTime:
      return text_ + BuddhistDateText(pass.StartTime()) + " " + TimeToStr(pass.StartTime());
    case qrsPageNumber:
      return text_ + std::to_string(pass.PageNumber());
    case qrsDetailNo:
      return text_ + std::to_string(pass.RecordNumber());
    case qrsReportTitle:
      return text_ + pass.Report().ReportTitle();
  }
  return text_;
}

void TQRExpr::Reset() {
  const TQRFieldExpression parsed = ParseFieldExpression(expression_, Name());
  is_sum_ = parsed.sum;
  dataset_name_ = parsed.dataset;
  field_name_ = parsed.field;
  sum_ = 0;
}

TField* TQRExpr::CurrentField() const {
  return ResolveField(*ParentBand()->ParentReport(), {is_sum_, dataset_name_, field_name_}, Name());
}

void TQRExpr::RecordPassed() {
  if (!is_sum_) return;
  if (const TField* field = CurrentField(); field != nullptr && !field->IsNull()) sum_ += field->AsFloat();
}

std::string TQRExpr::PrintedText(const TQRLayoutPass& pass) const {
  if (is_sum_) return FormatFloat(mask_, sum_);
  const TField* field = CurrentField();
  return field != nullptr ? MaskedText(*field, mask_) : std::string();
}
