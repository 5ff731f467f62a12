#pragma once
// Text fields. A string field stores Size bytes of the dataset's codec plus a
// terminating zero; a wide-string field Size UTF-16 units plus a zero. Text
// longer than the field is cut at a character boundary.
#include "platform/db/Field.h"

class TStringField : public TField {
 public:
  explicit TStringField(TComponent* owner, TFieldType type = ftString);

  int DataSize() const override { return Size() + 1; }
  // Fixed-length text reads without its trailing blanks.
  bool FixedChar() const { return DataType() == ftFixedChar; }

  std::string AsString() const override;
  void SetAsString(const std::string& value) override;
  int32_t AsInteger() const override;
  void SetAsInteger(int32_t value) override { SetAsString(std::to_string(value)); }
  int64_t AsLargeInt() const override;
  void SetAsLargeInt(int64_t value) override { SetAsString(std::to_string(value)); }
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  bool AsBoolean() const override;
  void SetAsBoolean(bool value) override { SetAsString(value ? "True" : "False"); }
  TDateTime AsDateTime() const override;
  void SetAsDateTime(TDateTime value) override;
  Variant Value() const override;
  void SetValue(const Variant& value) override;

 protected:
  TStringField(TComponent* owner, TFieldType type, int size);
  void CheckTypeSize(int size) const override;
};

// A GUID as its 38-character text "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}".
class TGuidField : public TStringField {
 public:
  explicit TGuidField(TComponent* owner);

 protected:
  void CheckTypeSize(int size) const override;
};

class TWideStringField : public TField {
 public:
  explicit TWideStringField(TComponent* owner);

  int DataSize() const override { return (Size() + 1) * 2; }
  std::string AsString() const override;
  void SetAsString(const std::string& value) override;
  std::u16string AsWideString() const override;
  void SetAsWideString(const std::u16string& value) override;
  Variant Value() const override;
  void SetValue(const Variant& value) override;

 protected:
  void CheckTypeSize(int size) const override;
};
