#pragma once
// Test support: one table of a database file put together from the storage
// parts (field manager, disk record store, index manager) and the table's
// internal files, stored as the disk table data stores them:
//
//   metadata file (page type 8, zlib mode 1): field list, index list,
//     constraint list, i32 record-page map root, i32 BLOB page map root
//   counters file (page type 9, plain): autoincrement counters, then the
//     record store's change count and record count
//   lock area (page type 7): 12 bytes per connection slot
//
// It serves the database file exercise (DatabaseFileExercise.h), which
// builds its seed files through it and reads damaged files back through it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/VTRCompression.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRStreams.h"
#include "engine/storage/ByteOrder.h"
#include "engine/storage/DiskPageManager.h"
#include "engine/storage/PageHeader.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/locks/TableLocksFile.h"
#include "engine/storage/meta/ConstraintDef.h"
#include "engine/storage/records/DiskRecordManager.h"
#include "engine/storage/system/TableListFile.h"
#include "engine/storage/system/TransactedFile.h"
#include "tests/engine/storage/common/TestCursor.h"
#include "tests/engine/storage/common/TestSession.h"

class ExerciseTable : public TVTRIndexTable {
 public:
  ExerciseTable(TVTRDiskPageManager& pages, int32_t table_id)
      : pages_(pages),
        table_id_(table_id),
        metadata_(pages, ptTableMetaData),
        counters_(pages, ptTableMostUpdated),
        locks_(pages) {}

  // A new table of these definitions in the system session (uncommitted);
  // its table list entry names it.
  TableListEntry Create(const std::string& name, const TVTRFieldDefs& fields, const TVTRIndexDefs& indexes,
                        int32_t slot_count) {
    Fields.DefineFields(fields);
    MakeManagers();
    Indexes->AssignIndexDefs(indexes);
    Indexes->CreateAllIndexes(nullptr);
    Records->CreateStorage();
    const int32_t locks_start = locks_.CreateFile(slot_count);
    metadata_.CreateFile(kSystemSessionID);
    counters_.CreateFile(kSystemSessionID);
    SaveMetadata(kSystemSessionID);
    SaveCounters(kSystemSessionID);
    return TableListEntry{name, table_id_, metadata_.StartPage(), counters_.StartPage(), locks_start};
  }

  // The table of a table list entry, with its definitions and counters.
  void Open(const TableListEntry& entry, int32_t session_id) {
    metadata_.OpenFile(entry.MetadataStart);
    counters_.OpenFile(entry.MostUpdatedStart);
    locks_.OpenFile(entry.LocksStart);
    TVTRMemoryStream metadata;
    const std::vector<uint8_t> image = metadata_.ReadContent(session_id);
    metadata.WriteBuffer(image.data(), static_cast<int32_t>(image.size()));
    metadata.SetPosition(0);
    Fields.LoadMetadata(metadata);
    MakeManagers();
    Indexes->LoadMetadata(metadata);
    Constraints.LoadFromStream(metadata);
    Records->LoadMetadata(metadata);
    uint8_t blob_root[4];
    metadata.ReadBuffer(blob_root, 4);
    LoadCounters(session_id);
  }

  void LoadCounters(int32_t session_id) {
    const std::vector<uint8_t> image = counters_.ReadContent(session_id);
    int32_t offset = 0;
    Fields.LoadAutoincValues(image, offset);
    Records->LoadCounters(image, offset);
  }

  void SaveCounters(int32_t session_id) {
    std::vector<uint8_t> image(static_cast<size_t>(Fields.GetAutoincValuesSize() + kRecordCountersSize));
    int32_t offset = 0;
    Fields.SaveAutoincValues(image, offset);
    Records->SaveCounters(image, offset);
    counters_.WriteFile(session_id, image.data(), 0, cmNone, static_cast<int32_t>(image.size()));
  }

  void SaveMetadata(int32_t session_id) {
    TVTRMemoryStream image;
    Fields.SaveMetadata(image);
    Indexes->SaveMetadata(image);
    Constraints.SaveToStream(image);
    Records->SaveMetadata(image);
    uint8_t no_blob_root[4];
    StoreI32(no_blob_root, -1);
    image.WriteBuffer(no_blob_root, 4);
    metadata_.WriteFile(session_id, image.Memory(), 1, cmZlib, static_cast<int32_t>(image.Size()));
  }

  // A record buffer with every field null.
  std::vector<uint8_t> EmptyRecord() const {
    std::vector<uint8_t> record(static_cast<size_t>(Fields.FieldDefs.GetRecordBufferSize()), 0);
    for (int32_t i = 0; i < Fields.FieldDefs.GetCount(); ++i)
      record[i / 8] |= static_cast<uint8_t>(1u << (i % 8));
    return record;
  }

  // The record and its keys; false when the record store refuses it.
  bool Insert(TVTRBaseSession& session, std::vector<uint8_t>& record, TVTRRecordID& id) {
    if (!Records->InsertRecord(session.SessionID, record.data(), id)) return false;
    Indexes->InsertKeys(CursorOn(session, record.data(), id));
    return true;
  }

  // Removes the keys, then the record; false when there is no record at id.
  bool Delete(TVTRBaseSession& session, const TVTRRecordID& id) {
    std::vector<uint8_t> record = EmptyRecord();
    Indexes->DeleteKeys(CursorOn(session, record.data(), id));
    return Records->DeleteRecord(session.SessionID, id);
  }

  const TVTRFieldDefs* GetFieldDefs() override { return &Fields.FieldDefs; }
  TVTRPageManager& GetPageManager() override { return pages_; }
  int64_t GetRecordCount() override { return Records->RecordCount; }
  int32_t GetChangeCount() override { return Records->ChangeCount; }
  int32_t GetNextObjectID() override { return pages_.GetNextObjectID(); }
  void GetRecord(int32_t session_id, NavigationRequest& request) override {
    Records->GetRecord(session_id, request);
  }
  void ScanRecords(TVTRCursor& cursor, const std::function<void(TVTRCursor&)>& visit) override {
    std::vector<uint8_t> record = EmptyRecord();
    TestCursor reader;
    reader.Session = cursor.Session;
    reader.TableName = cursor.TableName;
    NavigationRequest request;
    request.Direction = fmNext;
    request.Bof = true;
    request.Buffer = record.data();
    for (GetRecord(SessionOf(&cursor), request); request.Result == grOK;
         GetRecord(SessionOf(&cursor), request)) {
      reader.CurrentRecord = record.data();
      reader.CurrentRecordID = request.RecordID;
      visit(reader);
    }
  }

  TVTRTableLocksFile& Locks() { return locks_; }
  int32_t TableID() const { return table_id_; }

  TVTRBaseFieldManager Fields{nullptr};
  std::unique_ptr<TVTRDiskRecordManager> Records;
  std::unique_ptr<TVTRBaseIndexManager> Indexes;
  TVTRConstraintDefs Constraints;

 private:
  void MakeManagers() {
    Records = std::make_unique<TVTRDiskRecordManager>(pages_, Fields, table_id_);
    Records->InitStorage(Fields.FieldDefs.GetRecordBufferSize(), Fields.FieldDefs.GetDiskRecordSize());
    Indexes = std::make_unique<TVTRBaseIndexManager>(*this, nullptr);
  }

  TestCursor& CursorOn(TVTRBaseSession& session, uint8_t* record, const TVTRRecordID& id) {
    cursor_.Session = &session;
    cursor_.TableName = "T";
    cursor_.CurrentRecord = record;
    cursor_.CurrentRecordID = id;
    return cursor_;
  }

  TVTRDiskPageManager& pages_;
  int32_t table_id_;
  TVTRInternalDBTransactedAccessFile metadata_;
  TVTRInternalDBTransactedAccessFile counters_;
  TVTRTableLocksFile locks_;
  TestCursor cursor_;
};
