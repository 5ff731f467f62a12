// Locate and Lookup of TVTRDataSet: the cursor searches with a condition the
// engine builds from the key fields and values, reading the record it finds
// into the dataset layer's temporary buffer.
#include "engine/access/DataSet.h"
#include "engine/access/EngineText.h"
#include "platform/db/Field.h"
#include "platform/rtl/CodePage874.h"

bool TVTRDataSet::LocateRecord(const std::string& key_fields, const Variant& key_values, TLocateOptions options,
                               const std::function<void()>& read_found) {
  TVTRCursor& cursor = CheckedCursor(10271);
  CheckBrowseMode();
  CursorPosChanged();
  const std::string engine_fields = Utf8ToCp874(key_fields);
  const Variant engine_values = EngineTextValue(key_values);
  const TRecordBuffer saved_buffer = filter_buffer_;
  const TDataSetState saved_state = SetTempState(dsFilter);
  filter_buffer_ = TempBuffer();
  cursor.CurrentRecord = filter_buffer_;
  const auto restore = [&] {
    filter_buffer_ = saved_buffer;
    RestoreState(saved_state);
  };
  bool found;
  try {
    found = cursor.Locate(engine_fields, engine_values, options.Contains(loCaseInsensitive),
                          options.Contains(loPartialKey));
    if (found && read_found) read_found();
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return found;
}

bool TVTRDataSet::Locate(const std::string& key_fields, const Variant& key_values, TLocateOptions options) {
  if (BeforeScroll) BeforeScroll(this);
  if (!LocateRecord(key_fields, key_values, options)) return false;
  Resync({rmExact, rmCenter});
  if (AfterScroll) AfterScroll(this);
  return true;
}

Variant TVTRDataSet::Lookup(const std::string& key_fields, const Variant& key_values,
                            const std::string& result_fields) {
  Variant result = Variant::Null();
  LocateRecord(key_fields, key_values, {}, [&] {
    GetCalcFields(filter_buffer_);
    const std::vector<TField*> fields = GetFieldList(result_fields);
    if (fields.size() == 1) {
      result = fields.front()->Value();
      return;
    }
    std::vector<Variant> values;
    values.reserve(fields.size());
    for (const TField* field : fields) values.push_back(field->Value());
    result = Variant::Array(std::move(values));
  });
  return result;
}
