#pragma once
// Date and time fields. Native forms: a date is a 32-bit day number with
// 0001-01-01 as day 1; a time 32-bit milliseconds since midnight; a date-time the
// day number times 86400000 plus the milliseconds of the day, as a double; a
// time stamp the TSQLTimeStamp record (through DataConvert, so a dataset may keep
// another native form for it). Values outside 0001-01-01 .. 9999-12-31 are refused.
//
// DisplayFormat is a FormatDateTime format; without one a date shows as
// "dd/mm/yyyy", a time as "hh:nn:ss" and a date-time as both (the time only when
// it is not midnight).
#include "platform/db/Field.h"

struct TSQLTimeStamp {
  int16_t Year;
  uint16_t Month;
  uint16_t Day;
  uint16_t Hour;
  uint16_t Minute;
  uint16_t Second;
  uint32_t Fractions;  // milliseconds
};

class TDateTimeField : public TField {
 public:
  explicit TDateTimeField(TComponent* owner) : TDateTimeField(owner, ftDateTime) {}

  int DataSize() const override { return DataType() == ftDateTime ? 8 : 4; }
  const std::string& DisplayFormat() const { return display_format_; }
  void SetDisplayFormat(std::string format) { display_format_ = std::move(format); }
  // The FormatDateTime format of the display text (DisplayFormat, else the
  // type's own) or of the editing text (the type's own).
  std::string TextFormat(bool display_text) const;

  TDateTime AsDateTime() const override;
  void SetAsDateTime(TDateTime value) override;
  double AsFloat() const override { return AsDateTime(); }
  void SetAsFloat(double value) override { SetAsDateTime(value); }
  std::string AsString() const override { return GetText(false); }
  // Parses day/month/year and hh:nn:ss as the field's type needs; "" clears.
  void SetAsString(const std::string& value) override;
  Variant Value() const override;
  // A text value is parsed like SetAsString.
  void SetValue(const Variant& value) override;

 protected:
  TDateTimeField(TComponent* owner, TFieldType type) : TField(owner, type) {}
  std::string GetText(bool display_text) const override;
  void CheckRange(TDateTime value) const;

 private:
  std::string display_format_;
};

class TDateField : public TDateTimeField {
 public:
  explicit TDateField(TComponent* owner) : TDateTimeField(owner, ftDate) {}
};

class TTimeField : public TDateTimeField {
 public:
  explicit TTimeField(TComponent* owner) : TDateTimeField(owner, ftTime) {}
};

class TSQLTimeStampField : public TDateTimeField {
 public:
  explicit TSQLTimeStampField(TComponent* owner) : TDateTimeField(owner, ftTimeStamp) {}

  int DataSize() const override { return sizeof(TSQLTimeStamp); }
  // A null field reads as all zeros.
  TSQLTimeStamp AsSQLTimeStamp() const;
  void SetAsSQLTimeStamp(const TSQLTimeStamp& value);
  TDateTime AsDateTime() const override;
  void SetAsDateTime(TDateTime value) override;
};
