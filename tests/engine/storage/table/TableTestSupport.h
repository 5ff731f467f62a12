#pragma once
// A table of integer fields on record pages of a real database file, the way
// the disk engine drives the table data (counters kept as if in the table's
// counters file: saved with each commit, reloaded after a rollback), and
// cursors over it with record buffers, a record bitmap and a position cache.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/foundation/containers/BufferBits.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/table/TableData.h"
#include "engine/storage/constraints/ConstraintManager.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/index/IndexPositionCache.h"
#include "engine/storage/records/DiskRecordManager.h"
#include "tests/engine/storage/base/FakeExpression.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/engine/storage/common/TableCursor.h"
#include "tests/engine/storage/common/TestCursor.h"
#include "tests/engine/storage/common/TestDatabase.h"
#include "tests/engine/storage/common/TestSession.h"
#include "tests/support/ScratchFolder.h"

class TestDiskTable : public TVTRTableData {
 public:
  TestDiskTable(TVTRDatabaseData& database, TVTRDiskPageManager& pages, int32_t table_id)
      : TVTRTableData(database), pages_(pages), table_id_(table_id) {
    PageManager = &pages;
  }

  TVTRDiskRecordManager& Records() { return static_cast<TVTRDiskRecordManager&>(*RecordManager); }

  void CreateRecordManager() override {
    auto records = std::make_unique<TVTRDiskRecordManager>(pages_, *FieldManager, table_id_);
    records->InitStorage(GetRecordBufferSize(), FieldManager->FieldDefs.GetDiskRecordSize());
    RecordManager = std::move(records);
  }
  void CreateTable(TVTRCursor& cursor, TVTRFieldDefs& fields, TVTRIndexDefs& indexes,
                   TVTRConstraintDefs& constraints) override {
    TableName = cursor.TableName;
    CreateFields(fields);
    CreateIndexes(indexes);
    CreateConstraints(constraints);
    CreateRecordManager();
    Records().CreateStorage();
    IndexManager->CreateAllIndexes(nullptr);
    pages_.Commit(kSystemSessionID);
    SaveCounters();
  }
  void EmptyTable(TVTRCursor* cursor) override {
    TVTRTableData::EmptyTable(cursor);
    RecordManager->EmptyTable(SessionOf(cursor));
    AutoCommit(SessionOf(cursor), cursor != nullptr && cursor->Session->InTransaction);
  }
  int64_t GetPositionCount() override {
    return (int64_t{Records().GetLastPageNo(kSystemSessionID)} + 1) * Records().RecordsPerPage;
  }
  int64_t RecordIDToPosition(const TVTRRecordID& id) override {
    return int64_t{id.PageNo} * Records().RecordsPerPage + id.SlotNo;
  }
  TVTRRecordID PositionToRecordID(int64_t position) override {
    const int32_t n = Records().RecordsPerPage;
    return {static_cast<int32_t>(position / n), static_cast<uint16_t>(position % n)};
  }
  void SaveBlob(TVTRCursor&, int32_t, TVTRStream&) override { NoBlobs(); }
  std::unique_ptr<TVTRStream> OpenBlob(TVTRCursor&, bool, int32_t, TVTRBlobOpenMode) override { NoBlobs(); }
  void SetNaturalRecNo(TVTRCursor& cursor, int64_t rec_no) override {
    cursor.CurrentRecordID = Records().GetRecordIDByRecNo(SessionOf(&cursor), rec_no);
  }
  int64_t GetNaturalRecNo(TVTRCursor& cursor) override {
    return Records().GetRecNo(SessionOf(&cursor), cursor.CurrentRecordID);
  }
  int64_t GetTableRecordCount(TVTRCursor&) override { return RecordManager->RecordCount; }
  void AutoCommit(int32_t session_id, bool in_transaction) override {
    TVTRTableData::AutoCommit(session_id, in_transaction);
    if (!in_transaction) SaveCounters();
  }
  void AfterRollback(int32_t) override {
    RecordManager->RecordCount = saved_record_count_;
    RecordManager->ChangeCount = saved_change_count_;
  }

  // The next record write fails once its record and keys are stored.
  bool FailNextWrite = false;

 protected:
  TVTRRecordOperationCodes RecordOperationCodes() const override {
    return {20135, 20136, 20138, 20139, 20137};
  }
  void AfterRecordWrite(TVTRCursor&) override {
    if (!FailNextWrite) return;
    FailNextWrite = false;
    throw EVTRException(20164, "Invalid table header data");
  }

 private:
  [[noreturn]] static void NoBlobs() { throw std::logic_error("these tables have no BLOB fields"); }
  void SaveCounters() {
    saved_record_count_ = RecordManager->RecordCount;
    saved_change_count_ = RecordManager->ChangeCount;
  }

  TVTRDiskPageManager& pages_;
  int32_t table_id_;
  int64_t saved_record_count_ = 0;
  int32_t saved_change_count_ = 0;
};

// A database file with tables of integer fields.
class TableFixture : public ::testing::Test {
 protected:
  // The first table made becomes table_.
  TestDiskTable& CreateTable(const std::vector<std::string>& fields,
                             const std::vector<IndexSpec>& indexes = {}, const std::string& name = "T") {
    if (!pages_.IsOpen()) {
      const std::string file = folder_.File("tables.vtr");
      TVTRDiskPageManager().CreateDatabase(file, TVTRPassword{}, 4096, 8);
      bool multi_user = false;
      bool needs_repair = false;
      bool read_only = false;
      pages_.OpenDatabase(file, TVTRPassword{}, multi_user, false, needs_repair, read_only);
      database_.PageManager = &pages_;
    }
    auto* table = static_cast<TestDiskTable*>(database_.AddTableData(
        std::make_unique<TestDiskTable>(database_, pages_, database_.GetNextObjectID())));
    TVTRFieldDefs field_defs;
    AddIntegerFields(field_defs, fields);
    TVTRIndexDefs index_defs;
    AddIndexDefs(index_defs, indexes);
    TVTRConstraintDefs constraint_defs;
    TestCursor creator;
    creator.TableName = name;
    creator.Session = &session_;
    table->CreateTable(creator, field_defs, index_defs, constraint_defs);
    if (table_ == nullptr) table_ = table;
    return *table;
  }

  TableCursor& Cursor(TestDiskTable* table = nullptr, TVTRBaseSession* session = nullptr) {
    cursors_.push_back(
        std::make_unique<TableCursor>(table ? *table : *table_, session ? *session : session_));
    return *cursors_.back();
  }

  ScratchFolder folder_;
  TVTRDiskPageManager pages_;
  TestDatabase database_{"tables.vtr"};
  TestSession session_{0};
  TestDiskTable* table_ = nullptr;
  std::vector<std::unique_ptr<TableCursor>> cursors_;  // closed before the table goes
};
