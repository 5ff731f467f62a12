#pragma once
// A field of a dataset: one column of its records, seen through the record that
// the dataset's state makes current. A field holds no value of its own; it
// reads and writes the dataset's record buffer through GetFieldData and
// SetFieldData in the field type's native form.
//
// Text: AsString and friends speak UTF-8; string and memo fields convert through
// the dataset's TextCodec and refuse text the codec cannot store.
// A null field reads as "", 0, 0.0, false and TDateTime 0.
#include <cstdint>
#include <string>

#include "platform/db/DBTypes.h"
#include "platform/db/TextCodec.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/FieldType.h"
#include "platform/rtl/Variant.h"

class TField : public TComponent {
 public:
  ~TField() override;

  TDataSet* DataSet() const { return dataset_; }
  // Adds the field to the dataset's fields (removing it from a former one); the
  // dataset must be closed.
  void SetDataSet(TDataSet* dataset);
  const std::string& FieldName() const { return field_name_; }
  void SetFieldName(const std::string& name);
  // The dataset's field number (from 1) while bound; -1 for calculated fields, 0 unbound.
  int FieldNo() const { return field_no_; }
  // Position in the dataset's field list.
  int Index() const;
  TFieldKind FieldKind() const { return field_kind_; }
  void SetFieldKind(TFieldKind kind);
  bool Calculated() const { return field_kind_ == fkCalculated; }
  void SetCalculated(bool calculated) { SetFieldKind(calculated ? fkCalculated : fkData); }
  bool Lookup() const { return field_kind_ == fkLookup; }
  TFieldType DataType() const { return data_type_; }
  // Declared size: characters of text fields, bytes of byte fields, 0 elsewhere.
  int Size() const { return size_; }
  void SetSize(int size);
  // Bytes of the native form.
  virtual int DataSize() const { return 0; }
  // Offset in the calculated area of the record buffer while bound (calculated
  // and lookup fields only).
  int Offset() const { return offset_; }
  virtual bool IsBlob() const { return false; }

  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool read_only) { read_only_ = read_only; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  // The caption for this field; the field name until set.
  const std::string& DisplayLabel() const { return display_label_.empty() ? field_name_ : display_label_; }
  void SetDisplayLabel(std::string label) { display_label_ = std::move(label); }
  // The name messages use: the display label.
  const std::string& DisplayName() const { return DisplayLabel(); }
  TProviderFlags ProviderFlags() const { return provider_flags_; }
  void SetProviderFlags(TProviderFlags flags) { provider_flags_ = flags; }
  bool IsIndexField() const;

  bool IsNull() const;
  // Set when the field was written since the record entered edit or insert state.
  bool Modified() const { return modified_; }

  virtual std::string AsString() const;
  virtual void SetAsString(const std::string& value);
  virtual std::u16string AsWideString() const;
  virtual void SetAsWideString(const std::u16string& value);
  virtual int32_t AsInteger() const;
  virtual void SetAsInteger(int32_t value);
  virtual int64_t AsLargeInt() const;
  virtual void SetAsLargeInt(int64_t value);
  virtual double AsFloat() const;
  virtual void SetAsFloat(double value);
  virtual double AsCurrency() const { return AsFloat(); }
  virtual void SetAsCurrency(double value) { SetAsFloat(value); }
  virtual bool AsBoolean() const;
  virtual void SetAsBoolean(bool value);
  virtual TDateTime AsDateTime() const;
  virtual void SetAsDateTime(TDateTime value);
  // Null for a null field.
  virtual Variant Value() const;
  // Null or empty clears the field; other values convert to the field's type.
  virtual void SetValue(const Variant& value);

  // The text a grid shows (DisplayFormat applies) and the text an editor edits.
  std::string DisplayText() const { return GetText(true); }
  std::string Text() const { return GetText(false); }
  virtual void SetText(const std::string& text) { SetAsString(text); }

  virtual void Clear();
  // A field copies another field's value (null clears); null clears.
  void Assign(const TPersistent* source) override;
  // Assigns by the value's own kind: integers as AsLargeInt, floats as AsFloat,
  // text as AsString, dates as AsDateTime, booleans as AsBoolean; null clears.
  void AssignValue(const Variant& value);

  // Runs OnValidate with `buffer` (native form, null for a null value) as the
  // field's value; datasets call it before they store a new value.
  void Validate(const void* buffer);
  TFieldNotifyEvent OnValidate;
  TFieldNotifyEvent OnChange;

  // The native value of the current record; false when null. A null buffer only
  // asks for null. With native false, date, time and wide-string values come in
  // their value form (TDateTime, std::u16string) through the dataset's DataConvert.
  bool GetData(void* buffer, bool native = true) const;
  // Stores a value in native (or value) form; null stores null.
  void SetData(const void* buffer, bool native = true);

 protected:
  TField(TComponent* owner, TFieldType type, int size = 0);

  virtual std::string GetText(bool display_text) const { return AsString(); }
  // Raises when `size` is not valid for the type; the base accepts only 0.
  virtual void CheckTypeSize(int size) const;
  [[noreturn]] void AccessError(const char* type_name) const;
  [[noreturn]] void RangeError(const std::string& value, const std::string& min,
                               const std::string& max) const;
  [[noreturn]] void ValueError(const char* message, const std::string& text) const;
  void CheckInactive() const;
  // The codec of the field's dataset; raises when the field has no dataset.
  const TTextCodec& Codec() const;
  // `text` in the codec's stored bytes; raises "Field '%s' cannot store the
  // character '%s'" for the first character the codec cannot hold.
  std::string EncodeText(const std::string& text) const;

 private:
  friend class TDataSet;
  friend class TFields;

  TDataSet* dataset_ = nullptr;
  std::string field_name_;
  TFieldType data_type_;
  TFieldKind field_kind_ = fkData;
  int size_ = 0;
  int field_no_ = 0;
  int offset_ = 0;
  bool required_ = false;
  bool read_only_ = false;
  bool visible_ = true;
  bool modified_ = false;
  std::string display_label_;
  TProviderFlags provider_flags_ = {pfInUpdate, pfInWhere};
  // While OnValidate runs, the value being validated (null: a null value).
  bool validating_ = false;
  const void* value_buffer_ = nullptr;
};
