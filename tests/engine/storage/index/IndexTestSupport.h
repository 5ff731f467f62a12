#pragma once
// A small table for the index and constraint tests: records kept in memory
// in RecordID order, index pages in memory page managers, and the index
// manager over them. Record changes go through the index manager the way
// the table data drives it.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "engine/foundation/containers/BufferBits.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/index/RecordIndex.h"
#include "tests/engine/storage/btree/BTreeTestSupport.h"
#include "tests/engine/storage/common/TestCursor.h"
#include "tests/engine/storage/common/TestSession.h"

class TestIndexTable : public TVTRIndexTable {
 public:
  using Value = std::optional<std::variant<int64_t, std::string>>;

  // Fields as (name, column type, size); every field gets an object ID.
  explicit TestIndexTable(const std::vector<std::tuple<std::string, TVTRAdvancedDataType, int32_t>>& fields,
                          int32_t page_header_size = kPageHeaderSize)
      : pages_(4096, page_header_size), temporary_pages_(4096, page_header_size) {
    for (const auto& [name, type, size] : fields) {
      TVTRFieldDef& field = field_defs_.AddFieldDef();
      field.Name = name;
      field.SetDataType(type, size);
      field.ObjectID = GetNextObjectID();
    }
    field_defs_.CalcOffsets();
    manager_ = std::make_unique<TVTRBaseIndexManager>(*this, &temporary_pages_);
  }

  const TVTRFieldDefs* GetFieldDefs() override { return has_fields_ ? &field_defs_ : nullptr; }
  TVTRPageManager& GetPageManager() override { return pages_; }
  int64_t GetRecordCount() override { return static_cast<int64_t>(records_.size()); }
  int32_t GetChangeCount() override { return change_count_; }
  int32_t GetNextObjectID() override { return ++next_object_id_; }

  void GetRecord(int32_t, NavigationRequest& request) override {
    request.Result = grError;
    auto it = records_.end();
    if (request.Direction == fmCurrent) {
      it = records_.find(Key(request.RecordID));
    } else if (request.Direction == fmNext) {
      it = request.Bof   ? records_.begin()
           : request.Eof ? records_.end()
                         : records_.upper_bound(Key(request.RecordID));
      if (it == records_.end()) request.Result = grEOF;
    } else {
      auto after = request.Eof   ? records_.end()
                   : request.Bof ? records_.begin()
                                 : records_.lower_bound(Key(request.RecordID));
      it = after == records_.begin() ? records_.end() : std::prev(after);
      if (it == records_.end()) request.Result = grBOF;
    }
    if (it == records_.end()) return;
    request.RecordID = {it->first.first, it->first.second};
    std::memcpy(request.Buffer, it->second.data(), it->second.size());
    request.Bof = request.Eof = false;
    request.Result = grOK;
  }

  void ScanRecords(TVTRCursor& cursor, const std::function<void(TVTRCursor&)>& visit) override {
    TestCursor reader;
    reader.Session = cursor.Session;
    reader.TableName = cursor.TableName;
    for (auto& [key, record] : records_) {
      reader.CurrentRecord = record.data();
      reader.CurrentRecordID = {key.first, key.second};
      visit(reader);
    }
  }

  // A record buffer of the values, in field order.
  std::vector<uint8_t> Record(const std::vector<Value>& values) const {
    std::vector<uint8_t> record(static_cast<size_t>(field_defs_.GetRecordBufferSize()), 0);
    for (size_t i = 0; i < values.size(); ++i) {
      const TVTRFieldDef& field = field_defs_.GetFieldDef(static_cast<int32_t>(i));
      uint8_t* at = record.data() + field.MemoryOffset;
      if (!values[i]) {
        SetBufferBit(true, static_cast<int32_t>(i), record.data());
      } else if (const auto* text = std::get_if<std::string>(&*values[i])) {
        std::memcpy(at, text->data(), std::min<size_t>(text->size(), field.MemoryDataSize - 1));
      } else {
        const int64_t number = std::get<int64_t>(*values[i]);
        for (int32_t b = 0; b < field.MemoryDataSize; ++b) at[b] = static_cast<uint8_t>(number >> (8 * b));
      }
    }
    return record;
  }

  // Stores a record and enters its keys; returns its RecordID.
  TVTRRecordID Insert(const std::vector<Value>& values, int32_t session_id = 0) {
    const TVTRRecordID id{next_page_ + next_slot_ / 10, static_cast<uint16_t>(next_slot_ % 10)};
    ++next_slot_;
    records_[Key(id)] = Record(values);
    ++change_count_;
    Cursor(session_id, id);
    manager_->InsertKeys(cursor_);
    return id;
  }
  // Stores new values and moves the keys.
  void Update(const TVTRRecordID& id, const std::vector<Value>& values, int32_t session_id = 0) {
    std::vector<uint8_t> old_record = records_.at(Key(id));
    records_[Key(id)] = Record(values);
    ++change_count_;
    Cursor(session_id, id);
    cursor_.OldRecord = old_record.data();
    manager_->UpdateKeys(cursor_);
    cursor_.OldRecord = nullptr;
  }
  // Removes the keys, then the record.
  void Delete(const TVTRRecordID& id, int32_t session_id = 0) {
    std::vector<uint8_t> buffer(static_cast<size_t>(field_defs_.GetRecordBufferSize()));
    Cursor(session_id, id);
    cursor_.CurrentRecord = buffer.data();
    manager_->DeleteKeys(cursor_);
    records_.erase(Key(id));
    ++change_count_;
  }
  // A record stored behind the indexes' back, as another process would.
  TVTRRecordID InsertUnindexed(const std::vector<Value>& values) {
    const TVTRRecordID id{next_page_ + next_slot_ / 10, static_cast<uint16_t>(next_slot_ % 10)};
    ++next_slot_;
    records_[Key(id)] = Record(values);
    ++change_count_;
    return id;
  }
  void EraseUnindexed(const TVTRRecordID& id) { records_.erase(Key(id)); }
  const std::vector<uint8_t>& Stored(const TVTRRecordID& id) const { return records_.at(Key(id)); }

  // A cursor of the session standing on a record.
  TestCursor& Cursor(int32_t session_id, const TVTRRecordID& id = {}) {
    sessions_.try_emplace(session_id, session_id);
    cursor_.Session = &sessions_.at(session_id);
    cursor_.TableName = "T";
    cursor_.TableFieldDefs.Assign(field_defs_);
    cursor_.CurrentRecordID = id;
    if (records_.count(Key(id))) cursor_.CurrentRecord = records_.at(Key(id)).data();
    return cursor_;
  }

  // An index over the named fields, added and filled.
  int32_t AddIndex(const std::string& name, const std::vector<TVTRIndexColumn>& columns, bool unique = false,
                   bool primary = false) {
    TVTRIndexDef def;
    def.Name = name;
    def.Columns = columns;
    def.Unique = unique;
    def.Primary = primary;
    return manager_->AddIndex(&Cursor(0), def);
  }
  TVTRBTreeRecordIndex& Index(int32_t id) {
    return static_cast<TVTRBTreeRecordIndex&>(manager_->GetIndexByID(id));
  }

  TVTRBaseIndexManager& Manager() { return *manager_; }
  TVTRFieldDefs& FieldDefs() { return field_defs_; }
  MemoryPageManager& Pages() { return pages_; }
  MemoryPageManager& TemporaryPages() { return temporary_pages_; }
  void SetHasFields(bool has_fields) { has_fields_ = has_fields; }

 private:
  static std::pair<int32_t, uint16_t> Key(const TVTRRecordID& id) { return {id.PageNo, id.SlotNo}; }

  TVTRFieldDefs field_defs_;
  MemoryPageManager pages_;
  MemoryPageManager temporary_pages_;
  std::map<std::pair<int32_t, uint16_t>, std::vector<uint8_t>> records_;
  std::map<int32_t, TestSession> sessions_;
  TestCursor cursor_;
  std::unique_ptr<TVTRBaseIndexManager> manager_;
  int32_t change_count_ = 0;
  int32_t next_object_id_ = 0;
  int32_t next_page_ = 100;
  int32_t next_slot_ = 0;
  bool has_fields_ = true;
};
