#pragma once
// A cursor over field definitions alone: the base class's own state and
// field access, without a table behind it. Operations that need a table are
// not part of these tests and fail loudly.
#include <cstring>
#include <stdexcept>

#include "engine/storage/base/Cursor.h"

class TestCursor : public TVTRCursor {
 public:
  TestCursor() = default;

  // Takes the table's fields, lays them out and shows them all.
  void SetTableFields(const TVTRFieldDefs& fields) {
    TableFieldDefs.Assign(fields);
    TableFieldDefs.CalcOffsets();
    FieldDefs.Assign(TableFieldDefs);
    for (int32_t i = 0; i < FieldDefs.GetCount(); ++i) FieldDefs.GetFieldDef(i).FieldNo = i;
    CalcSizeFields();
  }

  void InitRecord(uint8_t* record, bool apply_defaults) override {
    std::memset(record, 0, RecordSize);
    std::memset(record, 0xFF, TableFieldDefs.GetNullFlagsSize());
  }

  void CreateTable(const TVTRFieldDefs&, const TVTRIndexDefs&, const TVTRConstraintDefs&) override {
    Unused();
  }
  void DeleteTable() override { Unused(); }
  void EmptyTable() override { Unused(); }
  void RenameTable(std::string_view) override { Unused(); }
  void InitFieldDefs() override { Unused(); }
  void OpenTable(const TVTRFieldDefs*, const TVTRIndexDefs*, const TVTRConstraintDefs*) override { Unused(); }
  void CloseTable() override { Unused(); }
  void LockDatabaseData() override { Unused(); }
  void UnlockDatabaseData() override { Unused(); }
  bool LockTable(TVTRTableLockType, int32_t, int32_t) override { Unused(); }
  bool UnlockTable(TVTRTableLockType, bool) override { Unused(); }
  void AddIndex(const TVTRIndexDef&) override { Unused(); }
  void DeleteIndex(std::string_view) override { Unused(); }
  void DeleteAllIndexes() override { Unused(); }
  void CreateTemporaryIndex(const TStringList&, const TStringList&, const TStringList&,
                            std::string&) override {
    Unused();
  }
  int64_t GetRecordCount() override { Unused(); }
  TVTRGetRecordResult GetRecord(TVTRFetchMode) override { Unused(); }
  void SetRecNo(int64_t) override { Unused(); }
  int64_t GetRecNo() override { Unused(); }
  void First() override { Unused(); }
  void Last() override { Unused(); }
  void Insert() override { Unused(); }
  void Edit() override { Unused(); }
  void Cancel(bool) override { Unused(); }
  void Post(bool) override { Unused(); }
  void Delete() override { Unused(); }
  void ActivateTemporaryIndex(const TStringList&, const TStringList&, const TStringList&) override {
    Unused();
  }
  void SetFilterText(std::string_view, bool, bool) override { Unused(); }
  void ClearFilter() override { Unused(); }
  bool Locate(std::string_view, const Variant&, bool, bool) override { Unused(); }
  bool GotoKey(bool) override { Unused(); }
  bool SearchByFieldValue(std::string_view, uint8_t, const TVTRVariant&) override { Unused(); }
  TVTRStream* OpenBlob(bool, bool, int32_t, TVTRBlobOpenMode) override { Unused(); }
  void CloseBlob(int32_t) override { Unused(); }
  void FreeBlobStreams(bool) override { Unused(); }
  int64_t GetLastAutoincValue(int32_t) override { Unused(); }
  void StartAutoTransaction() override { Unused(); }
  void CommitAutoTransaction() override { Unused(); }
  void RollbackAutoTransaction() override { Unused(); }
  bool ValidateConstraints(bool) override { Unused(); }

 private:
  [[noreturn]] static void Unused() { throw std::logic_error("not part of the test cursor"); }
};
