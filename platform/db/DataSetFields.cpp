// Fields of a dataset: making and binding them, the calculated area, and the
// passage of values between fields and the descendant.
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/db/FieldClasses.h"
#include "platform/db/FieldNames.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Variant.h"

namespace {

// A TDateTime as a day number (0001-01-01 is day 1) and milliseconds of the day,
// rounded to the millisecond; a time that rounds up to midnight moves to the next day.
void SplitDateTime(TDateTime value, int32_t& day, int32_t& msec) {
  const double whole = std::trunc(value);
  int64_t ms = std::llround(std::fabs(value - whole) * kMSecsPerDay);
  day = static_cast<int32_t>(whole) + kDateDelta;
  if (ms == kMSecsPerDay) {
    ms = 0;
    ++day;
  }
  msec = static_cast<int32_t>(ms);
}

TDateTime JoinDateTime(int32_t day, int32_t msec) {
  return ComposeDateTime(day - kDateDelta, static_cast<double>(msec) / kMSecsPerDay);
}

}  // namespace

TField* TDataSet::FieldByName(std::string_view name) const {
  return fields_.FieldByName(name);
}

std::vector<TField*> TDataSet::GetFieldList(std::string_view field_names) const {
  std::vector<TField*> list;
  for (const std::string& name : SplitFieldNameList(field_names)) list.push_back(FieldByName(name));
  return list;
}

void TDataSet::CreateFields() {
  for (int i = 0; i < field_defs_.Count(); ++i) field_defs_[i]->CreateField(this, this);
}

void TDataSet::DestroyFields() {
  fields_.Clear();
}

void TDataSet::BindFields(bool binding) {
  calc_fields_size_ = 0;
  for (TField* field : fields_) {
    if (!binding) {
      field->field_no_ = 0;
      field->offset_ = 0;
      continue;
    }
    if (field->FieldKind() == fkCalculated || field->FieldKind() == fkLookup) {
      field->field_no_ = -1;
      field->offset_ = calc_fields_size_;
      calc_fields_size_ += field->DataSize() + 1;
      continue;
    }
    const TFieldDef* def = field_defs_.Find(field->FieldName());
    if (def->DataType() != field->DataType()) {
      DatabaseError(Format(SFieldTypeMismatch, field->DisplayName(), FieldTypeName(field->DataType()),
                           FieldTypeName(def->DataType())),
                    this);
    }
    if (IsSizedFieldType(def->DataType()) && def->Size() != field->Size()) {
      DatabaseError(Format(SFieldSizeMismatch, field->DisplayName(), field->Size(), def->Size()), this);
    }
    field->field_no_ = def->FieldNo();
  }
}

bool TDataSet::GetCalcFieldData(const TField* field, const uint8_t* calc_area, void* buffer) const {
  const uint8_t* slot = calc_area + field->Offset();
  if (slot[0] == 0) return false;
  if (buffer != nullptr) std::memcpy(buffer, slot + 1, field->DataSize());
  return true;
}

void TDataSet::SetCalcFieldData(const TField* field, uint8_t* calc_area, const void* buffer) const {
  uint8_t* slot = calc_area + field->Offset();
  slot[0] = buffer != nullptr ? 1 : 0;
  if (buffer != nullptr) std::memcpy(slot + 1, buffer, field->DataSize());
}

void TDataSet::GetCalcFields(TRecordBuffer buffer) {
  if (calc_fields_size_ == 0) return;
  const TRecordBuffer saved_buffer = calc_buffer_;
  const TDataSetState saved_state = SetTempState(dsCalcFields);
  calc_buffer_ = buffer;
  try {
    ClearCalcFields(buffer);
    Fire(OnCalcFields, this);
  } catch (...) {
    calc_buffer_ = saved_buffer;
    RestoreState(saved_state);
    throw;
  }
  calc_buffer_ = saved_buffer;
  RestoreState(saved_state);
}

void TDataSet::UpdateCalcFields() {
  if (IsEditState(state_) && auto_calc_fields_) GetCalcFields(ActiveBuffer());
}

void TDataSet::SetFieldModified(TField* field) {
  field->modified_ = true;
}

void TDataSet::FreeFieldBuffers() {
  for (TField* field : fields_) field->modified_ = false;
}

TRecordBuffer TDataSet::StateRecordBuffer() const {
  switch (state_) {
    case dsBrowse:
      return IsEmpty() ? nullptr : ActiveBuffer();
    case dsEdit:
    case dsInsert:
    case dsNewValue:
      return ActiveBuffer();
    case dsCalcFields:
    case dsInternalCalc:
      return calc_buffer_;
    default:
      return nullptr;
  }
}

bool TDataSet::GetFieldDataAs(TField* field, void* buffer, bool native) {
  if (native || buffer == nullptr) return GetFieldData(field, buffer);
  std::vector<uint8_t> temp(field->DataSize());
  if (!GetFieldData(field, temp.data())) return false;
  DataConvert(field, temp.data(), buffer, false);
  return true;
}

void TDataSet::SetFieldDataAs(TField* field, const void* buffer, bool native) {
  if (native || buffer == nullptr) return SetFieldData(field, buffer);
  std::vector<uint8_t> temp(field->DataSize());
  DataConvert(field, buffer, temp.data(), true);
  SetFieldData(field, temp.data());
}

void TDataSet::DataConvert(TField* field, const void* source, void* dest, bool to_native) {
  switch (field->DataType()) {
    case ftDate: {
      if (to_native) {
        int32_t day = 0, msec = 0;
        SplitDateTime(*static_cast<const TDateTime*>(source), day, msec);
        std::memcpy(dest, &day, sizeof day);
      } else {
        int32_t day = 0;
        std::memcpy(&day, source, sizeof day);
        *static_cast<TDateTime*>(dest) = JoinDateTime(day, 0);
      }
      break;
    }
    case ftTime: {
      if (to_native) {
        int32_t day = 0, msec = 0;
        SplitDateTime(*static_cast<const TDateTime*>(source), day, msec);
        std::memcpy(dest, &msec, sizeof msec);
      } else {
        int32_t msec = 0;
        std::memcpy(&msec, source, sizeof msec);
        *static_cast<TDateTime*>(dest) = static_cast<double>(msec) / kMSecsPerDay;
      }
      break;
    }
    case ftDateTime: {
      if (to_native) {
        int32_t day = 0, msec = 0;
        SplitDateTime(*static_cast<const TDateTime*>(source), day, msec);
        const double milliseconds = static_cast<double>(day) * kMSecsPerDay + msec;
        std::memcpy(dest, &milliseconds, sizeof milliseconds);
      } else {
        double milliseconds = 0;
        std::memcpy(&milliseconds, source, sizeof milliseconds);
        const double day = std::floor(milliseconds / kMSecsPerDay);
        *static_cast<TDateTime*>(dest) =
            JoinDateTime(static_cast<int32_t>(day), static_cast<int32_t>(milliseconds - day * kMSecsPerDay));
      }
      break;
    }
    case ftWideString: {
      if (to_native) {
        const auto& text = *static_cast<const std::u16string*>(source);
        size_t length = std::min(text.size(), static_cast<size_t>(field->Size()));
        // Never keep half of a surrogate pair.
        if (length < text.size() && length > 0 && text[length - 1] >= 0xD800 && text[length - 1] < 0xDC00)
          --length;
        auto* chars = static_cast<char16_t*>(dest);
        std::copy_n(text.begin(), length, chars);
        chars[length] = u'\0';
      } else {
        const auto* chars = static_cast<const char16_t*>(source);
        size_t length = 0;
        while (length < static_cast<size_t>(field->Size()) && chars[length] != u'\0') ++length;
        static_cast<std::u16string*>(dest)->assign(chars, length);
      }
      break;
    }
    default:
      std::memcpy(dest, source, field->DataSize());
      break;
  }
}
