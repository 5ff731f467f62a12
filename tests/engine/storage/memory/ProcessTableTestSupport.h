#pragma once
// Tables of the process's own databases ("MEMORY", "TEMP"), made through
// their database object the way the local cursor makes them in design mode,
// cursors on them, and BLOB values written and read the way the local
// cursor's BLOB streams do.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/Compression.h"
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/btree/KeyPath.h"
#include "engine/storage/index/RecordIndex.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/engine/storage/common/TableCursor.h"
#include "tests/engine/storage/common/TestSession.h"

template <typename Database, typename Table>
class ProcessTableFixture : public ::testing::Test {
 protected:
  // Integer fields, then BLOB fields, then the indexes.
  Table& CreateTable(const std::vector<std::string>& integer_fields,
                     const std::vector<IndexSpec>& indexes = {},
                     const std::vector<std::string>& blob_fields = {}, const std::string& name = "T",
                     bool keep_in_memory = false) {
    TVTRFieldDefs field_defs;
    AddIntegerFields(field_defs, integer_fields);
    for (const std::string& blob_name : blob_fields) {
      TVTRFieldDef& field = field_defs.AddFieldDef();
      field.Name = blob_name;
      field.SetDataType(adtBlob, 0);
      field.BlobCompressionAlgorithm = cmZlib;
      field.BlobCompressionMode = 6;
      field.BlobBlockSize = 64;
    }
    TVTRIndexDefs index_defs;
    AddIndexDefs(index_defs, indexes);
    TVTRConstraintDefs constraint_defs;
    TestCursor creator;
    creator.TableName = name;
    creator.Session = &session_;
    creator.KeepTempInMemory = keep_in_memory;
    auto* table = static_cast<Table*>(database_.CreateTableData(creator));
    table->CreateTable(creator, field_defs, index_defs, constraint_defs);
    if (table_ == nullptr) table_ = table;
    return *table;
  }

  TableCursor& Cursor(Table* table = nullptr) {
    cursors_.push_back(std::make_unique<TableCursor>(table ? *table : *table_, session_));
    return *cursors_.back();
  }
  void CloseCursors() { cursors_.clear(); }

  // Keeps the current record as read, as an edit does for the update that follows.
  void Edit(TableCursor& cursor) {
    old_record_.assign(cursor->CurrentRecord, cursor->CurrentRecord + cursor->RecordBufferSize);
    cursor->OldRecord = old_record_.data();
  }

  // What the local cursor does to store a BLOB field of its current record.
  void PutBlob(TableCursor& cursor, int32_t field_no, const std::string& value) {
    std::unique_ptr<TVTRStream> blob = table_->OpenBlob(*cursor, false, field_no, bomWrite);
    blob->WriteBuffer(value.data(), static_cast<int32_t>(value.size()));
    table_->SaveBlob(*cursor, field_no, *blob);
  }
  std::string GetBlob(TableCursor& cursor, int32_t field_no) {
    std::unique_ptr<TVTRStream> blob = table_->OpenBlob(*cursor, false, field_no, bomRead);
    std::string value(static_cast<size_t>(blob->Size()), '\0');
    if (!value.empty()) blob->ReadBuffer(value.data(), static_cast<int32_t>(value.size()));
    return value;
  }

  // Checks the B-tree of the index and returns the values of field 0 in its order.
  std::vector<int32_t> IndexOrder(const std::string& index_name) {
    TableCursor& reader = Cursor();
    reader.SetIndex(index_name);
    static_cast<TVTRBTreeRecordIndex&>(table_->IndexManager->GetIndexByID(reader->IndexID))
        .CheckIntegrity(session_.SessionID);
    std::vector<int32_t> values = reader.WalkValues();
    cursors_.pop_back();
    return values;
  }

  Database database_;  // declared first: it goes last, with its tables
  TestSession session_{0};
  Table* table_ = nullptr;
  std::vector<std::unique_ptr<TableCursor>> cursors_;  // closed before the tables go
  std::vector<uint8_t> old_record_;
};
