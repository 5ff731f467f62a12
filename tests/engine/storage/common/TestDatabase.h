#pragma once
// A database object and table objects without storage: enough for the
// database object's own bookkeeping and for record bitmaps. Record positions
// follow the disk rule with ten slots per page; what needs records fails loudly.
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/storage/base/Cursor.h"
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/table/TableData.h"

class TestTable : public TVTRTableData {
 public:
  static constexpr int64_t kSlotsPerPage = 10;

  TestTable(TVTRDatabaseData& database, std::string name, int* freed = nullptr)
      : TVTRTableData(database), freed_(freed) {
    TableName = std::move(name);
  }
  ~TestTable() override {
    if (freed_) ++*freed_;
  }

  int64_t GetPositionCount() override { return PositionCount; }
  int64_t RecordIDToPosition(const TVTRRecordID& id) override {
    return id.PageNo * kSlotsPerPage + id.SlotNo;
  }
  TVTRRecordID PositionToRecordID(int64_t position) override {
    return {static_cast<int32_t>(position / kSlotsPerPage), static_cast<uint16_t>(position % kSlotsPerPage)};
  }
  int64_t PathToPosition(int32_t, const TVTRKeyPath&) override { throw std::logic_error("no index paths"); }
  void PositionToPath(int32_t, int64_t, TVTRKeyPath&) override { throw std::logic_error("no index paths"); }
  int32_t GetChangeCount() override { return ChangeCount; }
  void AfterRollback(int32_t session_id) override { RolledBack.push_back(session_id); }

  void CreateRecordManager() override { Unused(); }
  void CreateTable(TVTRCursor&, TVTRFieldDefs&, TVTRIndexDefs&, TVTRConstraintDefs&) override { Unused(); }
  void SaveBlob(TVTRCursor&, int32_t, TVTRStream&) override { Unused(); }
  std::unique_ptr<TVTRStream> OpenBlob(TVTRCursor&, bool, int32_t, TVTRBlobOpenMode) override { Unused(); }
  void SetNaturalRecNo(TVTRCursor&, int64_t) override { Unused(); }
  int64_t GetNaturalRecNo(TVTRCursor&) override { Unused(); }
  int64_t GetTableRecordCount(TVTRCursor&) override { Unused(); }

  int64_t PositionCount = 0;
  int32_t ChangeCount = 0;
  std::vector<int32_t> RolledBack;

 protected:
  TVTRRecordOperationCodes RecordOperationCodes() const override { Unused(); }

 private:
  [[noreturn]] static void Unused() { throw std::logic_error("not part of the test table"); }

  int* freed_;
};

class TestDatabase : public TVTRDatabaseData {
 public:
  explicit TestDatabase(std::string file_name, bool lives_for_process = false, int* tables_freed = nullptr)
      : TVTRDatabaseData(std::move(file_name), lives_for_process), tables_freed_(tables_freed) {}

  TVTRTableData* CreateTableData(TVTRCursor& cursor) override {
    return AddTableData(std::make_unique<TestTable>(*this, cursor.TableName, tables_freed_));
  }
  int32_t GetNextObjectID() override { return ++next_object_id_; }

 private:
  int* tables_freed_;
  int32_t next_object_id_ = 0;
};
