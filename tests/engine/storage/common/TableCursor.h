#pragma once
// A cursor of a session on a table of any engine, with its own record
// buffer, record bitmap and position cache, driving the table data the way
// the local cursor does; and the definitions of tables of integer fields.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/foundation/containers/BufferBits.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/table/TableData.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/index/IndexPositionCache.h"
#include "tests/engine/storage/base/FakeExpression.h"
#include "tests/engine/storage/common/TestCursor.h"

struct IndexSpec {
  std::string name;
  std::vector<std::string> fields;
  bool unique = false;
  std::vector<bool> descending = {};
};

inline void AddIntegerFields(TVTRFieldDefs& field_defs, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    TVTRFieldDef& field = field_defs.AddFieldDef();
    field.Name = name;
    field.SetDataType(adtInteger, 0);
  }
}

inline void AddIndexDefs(TVTRIndexDefs& index_defs, const std::vector<IndexSpec>& specs) {
  for (const IndexSpec& spec : specs) {
    TVTRIndexDef& index = index_defs.AddIndexDef();
    index.Name = spec.name;
    index.Unique = spec.unique;
    for (size_t i = 0; i < spec.fields.size(); ++i)
      index.Columns.push_back(
          {.FieldName = spec.fields[i], .Descending = i < spec.descending.size() && spec.descending[i]});
  }
}

// A cursor of a session on the table, with its own record buffer.
class TableCursor {
 public:
  TableCursor(TVTRTableData& table, TVTRBaseSession& session) : table_(table) {
    cursor_.Session = &session;
    cursor_.TableName = table.TableName;
    cursor_.SetTableFields(table.FieldManager->FieldDefs);
    cursor_.IndexDefs.Assign(table.IndexManager->IndexDefs);
    cursor_.CurrentRecord = cursor_.AllocRecordBuffer();
    cursor_.RecordBitmap = std::make_unique<TVTRRecordBitmap>(&table);
    cursor_.PositionCache = &position_cache_;
    cursor_.Bof = true;
    table.OpenTable(cursor_);
  }
  ~TableCursor() {
    table_.CloseTable(cursor_);
    cursor_.FreeRecordBuffer(cursor_.CurrentRecord);
  }
  TableCursor(const TableCursor&) = delete;
  TableCursor& operator=(const TableCursor&) = delete;

  TestCursor& operator*() { return cursor_; }
  TestCursor* operator->() { return &cursor_; }

  // Values of the fields in order; nullopt leaves a field null.
  void SetValues(const std::vector<std::optional<int32_t>>& values) {
    cursor_.InitRecord(cursor_.CurrentRecord, false);
    for (size_t i = 0; i < values.size(); ++i) {
      if (!values[i]) continue;
      const auto field_no = static_cast<int32_t>(i);
      StoreI32(cursor_.CurrentRecord + cursor_.TableFieldDefs.GetFieldDef(field_no).MemoryOffset, *values[i]);
      SetBufferBit(false, field_no, cursor_.CurrentRecord);
    }
  }
  bool Insert(const std::vector<std::optional<int32_t>>& values) {
    SetValues(values);
    return table_.InsertRecord(cursor_);
  }
  int32_t Value(int32_t field_no = 0) const {
    return LoadI32(cursor_.CurrentRecord + cursor_.TableFieldDefs.GetFieldDef(field_no).MemoryOffset);
  }

  TVTRGetRecordResult Fetch(TVTRFetchMode direction) { return table_.GetRecord(cursor_, direction); }
  void First() {
    cursor_.Bof = true;
    cursor_.Eof = false;
  }
  void Last() {
    cursor_.Bof = false;
    cursor_.Eof = true;
  }
  // The records the cursor sees, walking from one end to the other.
  std::vector<TVTRRecordID> Walk(bool forward = true) {
    forward ? First() : Last();
    std::vector<TVTRRecordID> ids;
    while (Fetch(forward ? fmNext : fmPrior) == grOK) ids.push_back(cursor_.CurrentRecordID);
    return ids;
  }
  std::vector<int32_t> WalkValues(int32_t field_no = 0) {
    First();
    std::vector<int32_t> values;
    while (Fetch(fmNext) == grOK) values.push_back(Value(field_no));
    return values;
  }

  void SetIndex(const std::string& name) {
    cursor_.IndexDefs.Assign(table_.IndexManager->IndexDefs);
    cursor_.SetIndexName(name);
  }
  // A filter in the fake expression's words, or none for an empty text.
  void SetFilter(const std::string& text) {
    cursor_.FilterExpression.reset();
    if (!text.empty()) {
      auto filter = std::make_unique<FakeExpression>();
      filter->ParseFilter(cursor_, text, false, false);
      cursor_.FilterExpression = std::move(filter);
    }
    cursor_.ClearRecordBitmap();
  }
  // A key buffer holding the values in the first fields.
  uint8_t* Key(const std::vector<int32_t>& values) {
    keys_.emplace_back(static_cast<size_t>(cursor_.KeyBufferSize), 0);
    uint8_t* key = keys_.back().data();
    for (size_t i = 0; i < values.size(); ++i)
      StoreI32(key + cursor_.TableFieldDefs.GetFieldDef(static_cast<int32_t>(i)).MemoryOffset, values[i]);
    return key;
  }

 private:
  TVTRTableData& table_;
  TestCursor cursor_;
  TVTRIndexPositionCache position_cache_;
  std::vector<std::vector<uint8_t>> keys_;
};
