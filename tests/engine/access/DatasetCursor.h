#pragma once
// One open local cursor on a table with the buffers a dataset gives it: one
// record buffer, its old copy while editing, a key buffer for seeks. The
// table helpers of the access tests build on it.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/access/VTRLocalEngine.h"

class DatasetCursor {
 public:
  DatasetCursor(TVTRLocalSession& session, const std::string& table, bool exclusive = false) {
    cursor_.Session = &session;
    cursor_.TableName = table;
    cursor_.Exclusive = exclusive;
    cursor_.OpenTable(nullptr, nullptr, nullptr);
    cursor_.InitFieldDefs();
    record_.assign(static_cast<size_t>(cursor_.RecordBufferSize), 0);
    old_.assign(record_.size(), 0);
    key_.assign(static_cast<size_t>(cursor_.KeyBufferSize), 0);
    cursor_.CurrentRecord = record_.data();
  }

  TVTRLocalCursor& Cursor() { return cursor_; }
  int32_t Result() const { return cursor_.LastResult; }

  // Edit keeps the record as read for the post that follows.
  int32_t Edit() {
    cursor_.Edit();
    old_ = record_;
    cursor_.OldRecord = old_.data();
    return cursor_.LastResult;
  }
  int32_t PostEdit() {
    cursor_.Post(false);
    return cursor_.LastResult;
  }
  int32_t Cancel() {
    cursor_.Cancel(false);
    return cursor_.LastResult;
  }
  int32_t Delete() {
    cursor_.Delete();
    return cursor_.LastResult;
  }

 protected:
  // Moves to the first record whose integer field `field_no`, the first
  // column of the index, holds `value`, and reads it; false when the index
  // has no such key.
  bool SeekInteger(const std::string& index_name, int32_t field_no, int32_t value) {
    cursor_.SetIndexName(index_name);
    cursor_.InitRecordBuffer(key_.data());
    cursor_.SetFieldData(field_no, &value, key_.data());
    cursor_.SearchKey = key_.data();
    cursor_.SearchKeyFieldCount = 1;
    return cursor_.GotoKey(true) && cursor_.GetRecord(fmCurrent) == grOK;
  }

  TVTRLocalCursor cursor_;
  std::vector<uint8_t> record_;
  std::vector<uint8_t> old_;
  std::vector<uint8_t> key_;
};
