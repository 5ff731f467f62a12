#include "engine/sql/operators/ResultWriting.h"

#include <algorithm>

#include "engine/access/EngineError.h"
#include "engine/sql/operators/AO.h"

void WriteField(TVTRCursor& cursor, TVTRVariant& value, int32_t field_no) {
  if (value.IsNull() || !IsBlobBaseType(cursor.TableFieldDefs.GetFieldDef(field_no).BaseType)) {
    cursor.SetFieldValue(value, field_no, true, cursor.CurrentRecord);
    return;
  }
  TVTRStream* blob = cursor.OpenBlob(true, false, field_no, bomWrite);
  if (value.Size() > 0) blob->WriteBuffer(value.Data(), value.Size());
  cursor.CloseBlob(field_no);
}

void PostNewRecord(TVTRCursor& cursor) {
  cursor.Post(true);
  if (cursor.LastResult != 0) throw EVTREngineError(cursor.LastResult, cursor.LastErrorText);
}

TVTRDistinctProbe::TVTRDistinctProbe(TVTRAO& node, TVTRCursor& cursor, const std::string& index_name,
                                     const std::vector<int32_t>& visible)
    : node_(node), cursor_(cursor), key_(cursor), found_(cursor), restored_index_(cursor.IndexName) {
  for (const int32_t column_no : node.DistinctColumns) {
    const auto at = std::ranges::find(visible, column_no);
    fields_.push_back(static_cast<int32_t>(at - visible.begin()));
  }
  previous_.resize(fields_.size());
  current_.resize(fields_.size());
  if (!index_name.empty()) cursor.SetIndexName(index_name);
}

TVTRDistinctProbe::~TVTRDistinctProbe() {
  cursor_.SetIndexName(restored_index_);
  cursor_.SearchKey = nullptr;
}

bool TVTRDistinctProbe::Repeats() {
  for (size_t i = 0; i < fields_.size(); ++i)
    node_.GetColumnValue(current_[i], node_.DistinctColumns[i], true);
  const bool repeats = (has_previous_ && EqualsPrevious()) || InTable();
  std::swap(previous_, current_);
  has_previous_ = true;
  return repeats;
}

bool TVTRDistinctProbe::EqualsPrevious() const {
  for (size_t i = 0; i < fields_.size(); ++i)
    if (current_[i].Compare(previous_[i], {}) != crEqual) return false;
  return true;
}

bool TVTRDistinctProbe::InTable() {
  cursor_.InitRecordBuffer(key_.get());
  for (size_t i = 0; i < fields_.size(); ++i) cursor_.SetFieldValue(current_[i], fields_[i], true, key_.get());
  cursor_.SearchKey = key_.get();
  cursor_.SearchKeyFieldCount = static_cast<int32_t>(fields_.size());
  cursor_.CurrentRecord = found_.get();
  return cursor_.GotoKey(true);
}
