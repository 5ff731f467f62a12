#include "platform/db/Field.h"

#include <cstring>

#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Utf8Char.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/TextCase.h"
#include "platform/rtl/Unicode.h"

TField::TField(TComponent* owner, TFieldType type, int size)
    : TComponent(owner), data_type_(type), size_(size) {}

TField::~TField() {
  if (dataset_ != nullptr) dataset_->fields_.Remove(this);
}

void TField::CheckInactive() const {
  if (dataset_ != nullptr) dataset_->CheckInactive();
}

const TTextCodec& TField::Codec() const {
  if (dataset_ == nullptr) DatabaseError(Format(SDataSetMissing, DisplayName()));
  return dataset_->TextCodec();
}

std::string TField::EncodeText(const std::string& text) const {
  std::string bytes;
  const size_t refused = Codec().Encode(text, bytes);
  if (refused != TTextCodec::npos) {
    DatabaseError(
        Format(SFieldTextNotStorable, DisplayName(), text.substr(refused, Utf8CharLength(text, refused))));
  }
  return bytes;
}

void TField::SetDataSet(TDataSet* dataset) {
  if (dataset == dataset_) return;
  CheckInactive();
  if (dataset != nullptr) {
    dataset->CheckInactive();
    dataset->fields_.Add(this);
  }
  if (dataset_ != nullptr) dataset_->fields_.Remove(this);
  dataset_ = dataset;
}

void TField::SetFieldName(const std::string& name) {
  CheckInactive();
  if (dataset_ != nullptr && !SameText(name, field_name_) && dataset_->FindField(name) != nullptr) {
    DatabaseError(Format(SDuplicateFieldName, name), dataset_);
  }
  field_name_ = name;
}

int TField::Index() const {
  return dataset_ != nullptr ? dataset_->fields_.IndexOf(this) : -1;
}

void TField::SetFieldKind(TFieldKind kind) {
  CheckInactive();
  field_kind_ = kind;
}

void TField::SetSize(int size) {
  CheckInactive();
  CheckTypeSize(size);
  size_ = size;
}

void TField::CheckTypeSize(int size) const {
  if (size != 0) DatabaseError(Format(SInvalidFieldSize, size, DisplayName()));
}

bool TField::IsIndexField() const {
  return dataset_ != nullptr && dataset_->GetIsIndexField(const_cast<TField*>(this));
}

bool TField::IsNull() const {
  return !GetData(nullptr);
}

bool TField::GetData(void* buffer, bool native) const {
  if (dataset_ == nullptr) DatabaseError(Format(SDataSetMissing, DisplayName()));
  if (validating_) {
    if (value_buffer_ == nullptr) return false;
    if (buffer == nullptr) return true;
    if (native) {
      std::memcpy(buffer, value_buffer_, DataSize());
    } else {
      dataset_->DataConvert(const_cast<TField*>(this), value_buffer_, buffer, false);
    }
    return true;
  }
  return dataset_->GetFieldDataAs(const_cast<TField*>(this), buffer, native);
}

void TField::SetData(const void* buffer, bool native) {
  if (dataset_ == nullptr) DatabaseError(Format(SDataSetMissing, DisplayName()));
  const TDataSetState state = dataset_->State();
  if (read_only_ && field_kind_ == fkData && state != dsSetKey && state != dsFilter) {
    DatabaseError(Format(SFieldReadOnly, DisplayName()));
  }
  dataset_->SetFieldDataAs(this, buffer, native);
  if (state == dsEdit || state == dsInsert) modified_ = true;
}

void TField::Validate(const void* buffer) {
  if (!OnValidate) return;
  validating_ = true;
  value_buffer_ = buffer;
  try {
    OnValidate(this);
  } catch (...) {
    validating_ = false;
    value_buffer_ = nullptr;
    throw;
  }
  validating_ = false;
  value_buffer_ = nullptr;
}

void TField::Clear() {
  SetData(nullptr);
}

void TField::Assign(const TPersistent* source) {
  if (source == nullptr) {
    Clear();
  } else if (const auto* field = dynamic_cast<const TField*>(source)) {
    SetValue(field->Value());
  } else {
    TComponent::Assign(source);
  }
}

void TField::AssignValue(const Variant& value) {
  switch (value.VarType()) {
    case Variant::varEmpty:
    case Variant::varNull:
      Clear();
      break;
    case Variant::varBoolean:
      SetAsBoolean(value.AsBoolean());
      break;
    case Variant::varShortInt:
    case Variant::varSmallint:
    case Variant::varInteger:
    case Variant::varByte:
    case Variant::varWord:
    case Variant::varLongWord:
    case Variant::varInt64:
      SetAsLargeInt(value.AsInt64());
      break;
    case Variant::varSingle:
    case Variant::varDouble:
      SetAsFloat(value.AsDouble());
      break;
    case Variant::varCurrency:
      SetAsCurrency(value.AsDouble());
      break;
    case Variant::varDate:
      SetAsDateTime(value.AsDateTime());
      break;
    case Variant::varOleStr:
      SetAsWideString(value.AsWideString());
      break;
    default:
      SetAsString(value.AsString());
      break;
  }
}

void TField::AccessError(const char* type_name) const {
  DatabaseError(Format(SFieldAccessError, DisplayName(), type_name));
}

void TField::RangeError(const std::string& value, const std::string& min, const std::string& max) const {
  DatabaseError(Format(SFieldRangeError, value, DisplayName(), min, max));
}

void TField::ValueError(const char* message, const std::string& text) const {
  DatabaseError(Format(message, text, DisplayName()));
}

std::string TField::AsString() const {
  AccessError("String");
}
void TField::SetAsString(const std::string&) {
  AccessError("String");
}
std::u16string TField::AsWideString() const {
  return Utf8ToUtf16(AsString());
}
void TField::SetAsWideString(const std::u16string& value) {
  SetAsString(Utf16ToUtf8(value));
}
int32_t TField::AsInteger() const {
  AccessError("Integer");
}
void TField::SetAsInteger(int32_t) {
  AccessError("Integer");
}
int64_t TField::AsLargeInt() const {
  return AsInteger();
}
void TField::SetAsLargeInt(int64_t) {
  AccessError("Largeint");
}
double TField::AsFloat() const {
  AccessError("Float");
}
void TField::SetAsFloat(double) {
  AccessError("Float");
}
bool TField::AsBoolean() const {
  AccessError("Boolean");
}
void TField::SetAsBoolean(bool) {
  AccessError("Boolean");
}
TDateTime TField::AsDateTime() const {
  AccessError("DateTime");
}
void TField::SetAsDateTime(TDateTime) {
  AccessError("DateTime");
}
Variant TField::Value() const {
  AccessError("Variant");
}
void TField::SetValue(const Variant&) {
  AccessError("Variant");
}
