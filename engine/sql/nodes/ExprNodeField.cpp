#include "engine/sql/nodes/ExprNodeField.h"

#include <string>

#include "engine/access/LocalCursor.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/containers/BufferBits.h"
#include "engine/sql/nodes/TextValues.h"
#include "engine/sql/operators/AO.h"
#include "engine/storage/disk/DiskTableData.h"
#include "platform/rtl/TextCase.h"

TVTRExprNodeField::TVTRExprNodeField(std::string table_name, std::string field_name, TVTRCursor* cursor)
    : TVTRExprNode(eoNone), table_name_(std::move(table_name)), field_name_(std::move(field_name)) {
  if (cursor) AssignCursor(cursor, nullptr, nullptr);
}

TVTRVariant& TVTRExprNodeField::GetValue() {
  if (!buffer_ && ao_ && field_no_ >= 0) {
    ao_->GetColumnValue(result_, field_no_, true);
    return result_;
  }
  if (!buffer_ || field_no_ < 0) throw EVTRException(30196, "Dataset and AO not assigned");
  if (GetBufferBit(field_no_, buffer_)) {
    result_.SetNull();
  } else if (IsBlobBaseType(base_type_)) {
    ReadBlob();
  } else {
    result_.SetBuffer(buffer_ + offset_, memory_size_, base_type_, TVTRBufferMode::Borrow);
  }
  return result_;
}

void TVTRExprNodeField::AssignCursor(TVTRCursor* cursor, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  if (!cursor) throw EVTRException(30202, "Value is Null");
  if (outer_cursor) Unbind();
  if (outer_) {
    // Unless the outer cursor has it, the outer operator node supplies it
    // (a stored table inside a correlated subquery tests the outer row).
    if (!outer_cursor || !LookUp(*outer_cursor)) {
      if (outer_ao) {
        cursor_ = nullptr;
        buffer_ = nullptr;
        BindToColumn(outer_ao);
      }
      return;
    }
  } else if (!LookUp(*cursor) && !(outer_cursor && LookUp(*outer_cursor))) {
    throw EVTRException::CreateFmt(30115, "Field '%s' not found", field_name_);
  }
  AssignRecordBuffer(cursor_->CurrentRecord, outer_ ? 1 : 0);
}

void TVTRExprNodeField::AssignAO(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  const bool was_bound = ao_ != nullptr;
  cursor_ = nullptr;
  buffer_ = nullptr;
  if (BindToColumn(ao) || BindToColumn(outer_ao)) return;
  if (outer_ && outer_cursor) return AssignCursor(outer_cursor, outer_ao, outer_cursor);
  if (!was_bound) throw EVTRException::CreateFmt(30197, "Field '%s' not found", table_name_ + "." + field_name_);
}

bool TVTRExprNodeField::BindToColumn(TVTRAO* ao) {
  if (!ao) return false;
  std::vector<int32_t> found;
  if (ao->FindFields(field_name_, table_name_, false, &found, true) != 1) return false;
  ao_ = ao;
  field_no_ = found.front();
  data_type_ = ao->GetColumnDataType(field_no_);
  base_type_ = AdvancedTypeToBaseType(data_type_);
  data_size_ = ao->GetColumnSize(field_no_);
  result_.Clear(base_type_);
  return true;
}

bool TVTRExprNodeField::CanEvaluateOn(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  outer_ = false;
  if (ao && ao->FindFields(field_name_, table_name_, true, nullptr, false) == 1) return true;
  outer_ = (outer_ao && outer_ao->FindFields(field_name_, table_name_, true, nullptr, false) == 1) ||
           (outer_cursor && (outer_cursor->TableFieldDefs.IndexOf(field_name_) >= 0 ||
                             outer_cursor->FieldDefs.IndexOf(field_name_) >= 0));
  return outer_;
}

void TVTRExprNodeField::AssignRecordBuffer(const uint8_t* buffer, int32_t outer_side) {
  if (outer_side == (outer_ ? 1 : 0)) buffer_ = buffer;
}

TVTRAdvancedDataType TVTRExprNodeField::GetDataType() {
  if (data_type_ == adtUnknown) throw EVTRException(30284, "Cannot determine expression type");
  return data_type_;
}

void TVTRExprNodeField::MatchSelectList(std::span<const TVTRSelectListItem> items) {
  for (const TVTRSelectListItem& item : items) {
    if (item.IsExpression || !SameText(field_name_, item.Alias)) continue;
    if (!table_name_.empty() && !SameText(table_name_, item.TableName)) continue;
    field_name_ = item.FieldName;
    table_name_ = item.TableName;
  }
}

bool TVTRExprNodeField::LookUp(TVTRCursor& cursor) {
  int32_t field_no = cursor.TableFieldDefs.IndexOf(field_name_);
  if (field_no < 0) {
    const int32_t visible = cursor.FieldDefs.IndexOf(field_name_);
    if (visible < 0) return false;
    field_no = cursor.FieldDefs.GetFieldDef(visible).FieldNo;
  }
  const TVTRFieldDef& field = cursor.TableFieldDefs.GetFieldDef(field_no);
  cursor_ = &cursor;
  ao_ = nullptr;
  field_no_ = field_no;
  offset_ = field.MemoryOffset;
  memory_size_ = field.MemoryDataSize;
  data_type_ = field.DataType;
  base_type_ = field.BaseType;
  data_size_ = field.Size;
  result_.Clear(base_type_);
  return true;
}

void TVTRExprNodeField::Unbind() {
  cursor_ = nullptr;
  ao_ = nullptr;
  buffer_ = nullptr;
  field_no_ = -1;
  data_type_ = adtUnknown;
}

void TVTRExprNodeField::ReadBlob() {
  auto* local = dynamic_cast<TVTRLocalCursor*>(cursor_);
  if (!local || !local->TableData) throw EVTRException(30196, "Dataset and AO not assigned");
  TVTRTableData& table = *local->TableData;
  // The table reads the BLOB of the cursor's current record, and may cache
  // what it read under the record's BLOB reference: released below.
  auto* record = const_cast<uint8_t*>(buffer_);
  struct CurrentRecordScope {
    TVTRCursor& cursor;
    uint8_t* const saved;
    ~CurrentRecordScope() { cursor.CurrentRecord = saved; }
  } scope{*local, local->CurrentRecord};
  local->CurrentRecord = record;
  std::string bytes;
  {
    const std::unique_ptr<TVTRStream> stream = table.OpenBlob(*local, false, field_no_, bomRead);
    bytes.resize(static_cast<size_t>(stream->Size()));
    if (!bytes.empty()) stream->ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  }
  if (dynamic_cast<TVTRDiskTableData*>(&table)) table.ReleaseBlob(record, field_no_);
  switch (base_type_) {
    case bdtMemo:
      SetTextValue(result_, bytes);
      return;
    case bdtWideMemo: {
      std::u16string text(bytes.size() / 2, u'\0');
      for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                        static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
      SetWideTextValue(result_, text);
      return;
    }
    default:
      result_.SetBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), bdtBlob, TVTRBufferMode::Copy);
  }
}

TVTRExprNodeField* AsField(TVTRExprNode& node) {
  return dynamic_cast<TVTRExprNodeField*>(&node);
}
