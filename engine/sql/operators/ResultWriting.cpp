#include "engine/sql/operators/ResultWriting.h"

#include <utility>

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

TVTRDistinctNeighbours::TVTRDistinctNeighbours(TVTRAO& node)
    : node_(node), previous_(node.DistinctColumns.size()), current_(node.DistinctColumns.size()) {}

bool TVTRDistinctNeighbours::Repeats() {
  bool equal = has_previous_;
  for (size_t i = 0; i < current_.size(); ++i) {
    node_.GetColumnValue(current_[i], node_.DistinctColumns[i], true);
    equal = equal && current_[i].Compare(previous_[i], {}) == crEqual;
  }
  std::swap(previous_, current_);
  has_previous_ = true;
  return equal;
}
