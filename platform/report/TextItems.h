#pragma once
// Printed texts: fixed captions, fields of a dataset, system data and
// expressions. Each is drawn in its font from its Left and Top:
// - Alignment places the text in the item's width;
// - AlignToBand places the item itself at the band's left edge, right edge or
//   centre, by the same alignment;
// - AutoSize makes the item as wide as its text, keeping its left edge, right
//   edge or centre by the alignment;
// - WordWrap breaks the text into lines of the item's width (at word breaks,
//   Thai ones included) and makes the item taller when its lines need it.
// A CR, LF or CR LF in a text starts a new line.
#include <cstdint>
#include <string>

#include "platform/report/Printable.h"

class TDataSet;
class TField;

class TQRCustomLabel : public TQRPrintable {
 public:
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment) { alignment_ = alignment; }
  bool AlignToBand() const { return align_to_band_; }
  void SetAlignToBand(bool value) { align_to_band_ = value; }
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool value) { auto_size_ = value; }
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool value) { word_wrap_ = value; }

 protected:
  using TQRPrintable::TQRPrintable;
  void Print(TQRLayoutPass& pass) override;
  // The text to print now.
  virtual std::string PrintedText(const TQRLayoutPass& pass) const = 0;

 private:
  TAlignment alignment_ = taLeftJustify;
  bool align_to_band_ = false;
  bool auto_size_ = true;
  bool word_wrap_ = false;
};

class TQRLabel : public TQRCustomLabel {
 public:
  explicit TQRLabel(TQRBand* band) : TQRCustomLabel(band) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }

 protected:
  std::string PrintedText(const TQRLayoutPass& pass) const override { return caption_; }

 private:
  std::string caption_;
};

// The value of a field on the dataset's current row. Numbers go through Mask
// (a FormatFloat mask) when it is set; dates and times through Mask as a
// FormatDateTime format when it is set, with the year in the Buddhist era.
// Without a mask the field prints as the windows show it (a date as
// "dd/mm/yyyy" with its Buddhist-era year). A null field, a closed dataset or
// none print nothing.
class TQRDBText : public TQRCustomLabel {
 public:
  explicit TQRDBText(TQRBand* band) : TQRCustomLabel(band) {}

  TDataSet* DataSet() const { return dataset_; }
  void SetDataSet(TDataSet* dataset);
  const std::string& DataField() const { return data_field_; }
  void SetDataField(std::string name) { data_field_ = std::move(name); }
  const std::string& Mask() const { return mask_; }
  void SetMask(std::string mask) { mask_ = std::move(mask); }

 protected:
  std::string PrintedText(const TQRLayoutPass& pass) const override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TDataSet* dataset_ = nullptr;
  std::string data_field_;
  std::string mask_;
};

enum TQRSysDataType : uint8_t { qrsDate, qrsTime, qrsDateTime, qrsPageNumber, qrsDetailNo, qrsReportTitle };

// Data of the report run: the date and time when the report was generated (the
// date with its Buddhist-era year, "dd/mm/yyyy", as the programs print dates;
// the time "hh:nn:ss"), the page number, the number of the data row, the
// report's title. Text prints in front of it.
class TQRSysData : public TQRCustomLabel {
 public:
  explicit TQRSysData(TQRBand* band) : TQRCustomLabel(band) {}

  TQRSysDataType Data() const { return data_; }
  void SetData(TQRSysDataType data) { data_ = data; }
  const std::string& Text() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }

 protected:
  std::string PrintedText(const TQRLayoutPass& pass) const override;

 private:
  TQRSysDataType data_ = qrsDate;
  std::string text_;
};

// "SUM(Query1.total)" adds the field over every data row since the expression
// last printed; "Query1.total" (or "total", a field of the report's dataset) is
// the field on the current row. The dataset is the report's or a component of
// the report's owner of that name. Numbers print through Mask (FormatFloat).
// Once printed, a sum starts again from 0: a group footer's sum covers its
// group, a page footer's its page, a summary's the whole report.
class TQRExpr : public TQRCustomLabel {
 public:
  explicit TQRExpr(TQRBand* band) : TQRCustomLabel(band) {}

  const std::string& Expression() const { return expression_; }
  void SetExpression(std::string expression) { expression_ = std::move(expression); }
  const std::string& Mask() const { return mask_; }
  void SetMask(std::string mask) { mask_ = std::move(mask); }

 protected:
  std::string PrintedText(const TQRLayoutPass& pass) const override;
  // Reads the expression; raises EQuickReportError when it is not one of the two forms.
  void Reset() override;
  void RecordPassed() override;
  void Printed() override { sum_ = 0; }

 private:
  // The field the expression names, on its dataset's current row; null while
  // that dataset is closed. Raises EQuickReportError for an unknown dataset or field.
  TField* CurrentField() const;

  std::string expression_;
  std::string mask_;
  bool is_sum_ = false;
  std::string dataset_name_;
  std::string field_name_;
  double sum_ = 0;
};
