// Field access of TVTRDataSet: values between the dataset layer's native
// forms and the record buffer, the calculated-field slots, and whole engine
// values for the SQL engine.
//
// Native forms against the engine's: a date is the engine's day number and
// a time its milliseconds, unchanged; a date-time is the engine's (day
// number, milliseconds) as day number × 86400000 + milliseconds in a double;
// a time stamp's native form is the engine's 8-byte date-time, which
// DataConvert turns into a TSQLTimeStamp. The integer arithmetic keeps every
// millisecond, before 1899 too.
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/access/BlobStream.h"
#include "engine/access/DataSet.h"
#include "engine/foundation/DataTypes.h"
#include "engine/foundation/DateConversion.h"
#include "engine/foundation/VTRExcept.h"
#include "platform/db/DateTimeFields.h"
#include "platform/db/Field.h"
#include "platform/db/Fields.h"
#include "platform/rtl/DateTime.h"

namespace {

constexpr const char* kNilPointer = "Nil pointer occured";

bool IsCalculated(const TField* field) {
  return field->FieldKind() == fkCalculated || field->FieldKind() == fkLookup;
}

bool WritableState(TDataSetState state) {
  switch (state) {
    case dsEdit:
    case dsInsert:
    case dsSetKey:
    case dsCalcFields:
    case dsFilter:
    case dsNewValue:
    case dsInternalCalc:
      return true;
    default:
      return false;
  }
}

// The engine's date-time image as the dataset layer's milliseconds.
double NativeDateTime(const TVTRTimeStamp& stamp) {
  return static_cast<double>(static_cast<int64_t>(stamp.date) * kMSecsPerDay + stamp.time);
}

TVTRTimeStamp EngineDateTime(double milliseconds) {
  const int64_t total = std::llround(milliseconds);
  int64_t day = total / kMSecsPerDay;
  if (total % kMSecsPerDay < 0) --day;
  return {static_cast<int32_t>(day), static_cast<int32_t>(total - day * kMSecsPerDay)};
}

}  // namespace

bool TVTRDataSet::GetFieldData(TField* field, void* buffer) {
  const TRecordBuffer record = CurrentRecordBuffer();
  if (!Active() || record == nullptr) return false;
  const TVTRCursor& cursor = CheckedCursor(10050);
  if (IsCalculated(field)) return GetCalcFieldData(field, record + cursor.CalcFieldsOffset, buffer);
  if (!cursor.GetFieldData(field->FieldNo() - 1, buffer, record)) return false;
  if (buffer != nullptr && field->DataType() == ftDateTime) {
    const double native = NativeDateTime(ReadTimeStamp(buffer));
    std::memcpy(buffer, &native, sizeof native);
  }
  return true;
}

void TVTRDataSet::SetFieldData(TField* field, const void* buffer) {
  const TDataSetState state = State();
  if (!WritableState(state)) throw EVTRException(10007, "Dataset not in edit or insert mode");
  if (state == dsSetKey && (field->FieldNo() < 0 || (!index_fields_.empty() && !GetIsIndexField(field))))
    throw EVTRException::CreateFmt(20019, "Field %s is not in the current index", field->DisplayName());
  const TVTRCursor& cursor = CheckedCursor(10051);
  const TRecordBuffer record = CurrentRecordBuffer();
  if (record == nullptr) throw EVTRException(10007, "Dataset not in edit or insert mode");
  if (IsCalculated(field)) {
    SetCalcFieldData(field, record + cursor.CalcFieldsOffset, buffer);
  } else {
    field->Validate(buffer);
    uint8_t engine_date_time[kTimeStampSize];
    if (buffer != nullptr && field->DataType() == ftDateTime) {
      double native;
      std::memcpy(&native, buffer, sizeof native);
      WriteTimeStamp(EngineDateTime(native), engine_date_time);
      buffer = engine_date_time;
    }
    cursor.SetFieldData(field->FieldNo() - 1, buffer, record);
  }
  if (state != dsCalcFields && state != dsFilter && state != dsNewValue)
    DataEvent(deFieldChange, reinterpret_cast<intptr_t>(field));
}

void TVTRDataSet::DataConvert(TField* field, const void* source, void* dest, bool to_native) {
  if (field->DataType() != ftTimeStamp) return TDataSet::DataConvert(field, source, dest, to_native);
  if (to_native) {
    const auto& value = *static_cast<const TSQLTimeStamp*>(source);
    const int32_t day = DateTimeToDayNumber(EncodeDate(value.Year, value.Month, value.Day));
    const auto milliseconds =
        static_cast<int32_t>(((value.Hour * 60 + value.Minute) * 60 + value.Second) * 1000 + value.Fractions);
    WriteTimeStamp({day, milliseconds}, dest);
    return;
  }
  const TVTRTimeStamp stamp = ReadTimeStamp(source);
  int year, month, day;
  DecodeDate(DayNumberToDateTime(stamp.date), year, month, day);
  const int32_t seconds = stamp.time / 1000;
  *static_cast<TSQLTimeStamp*>(dest) = {static_cast<int16_t>(year),
                                        static_cast<uint16_t>(month),
                                        static_cast<uint16_t>(day),
                                        static_cast<uint16_t>(seconds / 3600),
                                        static_cast<uint16_t>(seconds / 60 % 60),
                                        static_cast<uint16_t>(seconds % 60),
                                        static_cast<uint32_t>(stamp.time % 1000)};
}

TField* TVTRDataSet::VariantField(int32_t field_index, bool by_table_field) {
  int32_t visible = field_index;
  if (by_table_field) {
    const TVTRFieldDefs& shown = cursor_->FieldDefs;
    visible = -1;
    for (int32_t i = 0; i < shown.GetCount(); ++i) {
      if (shown.GetFieldDef(i).FieldNo == field_index) visible = i;
    }
  }
  TField* field = Fields().FieldByNumber(visible + 1);
  if (field == nullptr)
    throw EVTRException::CreateFmt(10005, "Invalid field number - FieldNo = %d, FieldCount = %d", field_index,
                                   FieldCount());
  return field;
}

void TVTRDataSet::GetFieldVariant(TVTRVariant& value, int32_t field_index, bool by_table_field) {
  TVTRCursor& cursor = CheckedCursor(10315);
  cursor.CurrentRecord = CurrentRecordBuffer();
  const TVTRFieldDefs& defs = by_table_field ? cursor.TableFieldDefs : cursor.FieldDefs;
  if (field_index < 0 || field_index >= defs.GetCount() || !IsBlobBaseType(defs.GetFieldDef(field_index).BaseType))
    return cursor.GetFieldValue(value, field_index, by_table_field);
  const TVTRBaseDataType type = defs.GetFieldDef(field_index).BaseType;
  TVTRBLOBStream stream(VariantField(field_index, by_table_field), bmRead);
  std::vector<uint8_t> content(static_cast<size_t>(stream.Size()));
  stream.SetPosition(0);
  if (!content.empty()) stream.ReadBuffer(content.data(), static_cast<int32_t>(content.size()));
  if (content.empty()) {
    value.Clear(type);
  } else {
    value.SetBuffer(content.data(), static_cast<int32_t>(content.size()), type, TVTRBufferMode::Copy);
  }
}

void TVTRDataSet::SetFieldVariant(TVTRVariant& value, int32_t field_index, bool by_table_field) {
  TVTRCursor& cursor = CheckedCursor(10316);
  const TVTRFieldDefs& defs = by_table_field ? cursor.TableFieldDefs : cursor.FieldDefs;
  const bool blob = field_index >= 0 && field_index < defs.GetCount() &&
                    IsBlobAdvancedType(defs.GetFieldDef(field_index).DataType);
  if (!blob || value.IsNull()) return cursor.SetFieldValue(value, field_index, by_table_field, CurrentRecordBuffer());
  TVTRBLOBStream stream(VariantField(field_index, by_table_field), bmWrite);
  stream.WriteBuffer(value.Data(), value.Size());
}
