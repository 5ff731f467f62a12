#pragma once
// Disk table test support: database files with their catalogue, a process's
// view of one (a database object and a connected session; two of them on
// one file hold byte locks against each other as two processes do), and a
// cursor that drives a table object the way the local cursor does.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/storage/disk/DiskTableData.h"
#include "engine/storage/disk/DiskDatabaseData.h"
#include "engine/storage/fields/FieldManager.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/engine/storage/common/TestCursor.h"
#include "tests/engine/storage/common/TestSession.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TableDefinitions.h"

inline constexpr int32_t kTableSlots = 4;
inline constexpr int32_t kIDField = 0;
inline constexpr int32_t kNameField = 1;
inline constexpr int32_t kPictureField = 2;

inline void CreateCatalogueFile(const std::string& name) {
  TVTRDiskDatabaseData database(name);
  database.MaxConnections = kTableSlots;
  database.PageSize = 4096;
  database.PagesPerExtent = 8;
  database.CreateDatabase();
}

// ID autoincrement, NAME text of 20, PICTURE BLOB (zlib, blocks of 4 KiB);
// indexed by NAME.
inline void DonationDefinitions(TVTRFieldDefs& fields, TVTRIndexDefs& indexes) {
  AddField(fields, "ID", adtAutoIncInteger).AutoincInitialValue = 0;
  AddField(fields, "NAME", adtString, 20);
  TVTRFieldDef& picture = AddField(fields, "PICTURE", adtBlob);
  picture.BlobCompressionAlgorithm = cmZlib;
  picture.BlobCompressionMode = 6;
  picture.BlobBlockSize = 4096;
  AddIndex(indexes, "BY_NAME", "NAME");
}

// One process's view of a database file.
struct TableProcess {
  TableProcess(const std::string& file, bool multi_user) : database(file) {
    session.SessionID = kInvalidSessionID;
    session.MultiUser = multi_user;
    database.ConnectSession(session);
  }
  ~TableProcess() {
    try {
      database.DisconnectSession(session);
    } catch (...) {
      ADD_FAILURE() << "the session could not leave";
    }
  }

  TVTRDiskDatabaseData database;
  TestSession session;
};

// A cursor of a process's session on one table, with its own record buffer.
class ProcessTableCursor : public TestCursor {
 public:
  explicit ProcessTableCursor(TableProcess& process, std::string table_name = "DONATION")
      : database_(process.database) {
    Session = &process.session;
    TableName = std::move(table_name);
  }
  ~ProcessTableCursor() override { Close(); }

  TVTRDiskTableData& Table() { return *table_; }
  bool IsOpen() const { return table_ != nullptr; }
  int32_t SessionID() const { return Session->SessionID; }

  void Create() {
    TVTRFieldDefs fields;
    TVTRIndexDefs indexes;
    TVTRConstraintDefs constraints;
    DonationDefinitions(fields, indexes);
    Attach().CreateTable(*this, fields, indexes, constraints);
    Detach();
  }
  // The maintenance operations, which open and close the table themselves.
  void Drop() {
    Attach();
    Run([&] { table_->DeleteTable(this, false); });
  }
  void Empty() {
    Attach();
    Run([&] { table_->EmptyTable(this); });
  }
  void Rename(const std::string& new_name) {
    Attach();
    Run([&] { table_->RenameTable(new_name, this); });
    TableName = new_name;
  }
  void Open(bool exclusive = false) {
    Exclusive = exclusive;
    TVTRDiskTableData& table = Attach();
    try {
      table.OpenTable(*this);
    } catch (...) {
      Detach();
      throw;
    }
    SetTableFields(table.FieldManager->FieldDefs);
    CurrentRecord = AllocRecordBuffer();
    Bof = true;
    Eof = false;
  }
  void Close() {
    if (table_ == nullptr) return;
    if (CurrentRecord != nullptr) {
      table_->FreeRecordBuffer(CurrentRecord);
      FreeRecordBuffer(CurrentRecord);
    }
    table_->CloseTable(*this);
    Detach();
  }

  // Fills the record as the local cursor's post does, then inserts it.
  bool Insert(const std::string& name, const Bytes* picture = nullptr) {
    InitRecord(CurrentRecord, false);
    SetFieldData(kNameField, name.c_str(), CurrentRecord);
    if (picture != nullptr) WritePicture(*picture);
    table_->LoadMostUpdated(SessionID());
    table_->FieldManager->ApplyAutoincs(*Session, CurrentRecord);
    return table_->InsertRecord(*this);
  }
  // Posts the record at CurrentRecordID with its keys unchanged.
  bool Update() {
    std::vector<uint8_t> old(CurrentRecord, CurrentRecord + RecordBufferSize);
    OldRecord = old.data();
    const bool updated = table_->UpdateRecord(*this);
    OldRecord = nullptr;
    return updated;
  }
  void WritePicture(const Bytes& bytes) {
    std::unique_ptr<TVTRStream> stream = table_->OpenBlob(*this, false, kPictureField, bomWrite);
    if (!bytes.empty()) stream->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream->SetSize(static_cast<int64_t>(bytes.size()));
    table_->SaveBlob(*this, kPictureField, *stream);
  }
  Bytes ReadPicture() {
    std::unique_ptr<TVTRStream> stream = table_->OpenBlob(*this, false, kPictureField, bomRead);
    const Bytes bytes = StreamBytes(*stream);
    table_->ReleaseBlob(CurrentRecord, kPictureField);
    return bytes;
  }
  std::string Name() const {
    char name[21] = {};
    GetFieldData(kNameField, name, CurrentRecord);
    return name;
  }
  int32_t ID() const {
    int32_t id = 0;
    GetFieldData(kIDField, &id, CurrentRecord);
    return id;
  }
  TVTRGetRecordResult Fetch(TVTRFetchMode mode) { return table_->GetRecord(*this, mode); }

 private:
  TVTRDiskTableData& Attach() {
    table_ = static_cast<TVTRDiskTableData*>(database_.GetTableData(*this));
    return *table_;
  }
  void Detach() {
    table_->FreeIfUnused();
    table_ = nullptr;
  }
  template <typename Operation>
  void Run(Operation&& operation) {
    try {
      operation();
    } catch (...) {
      Detach();
      throw;
    }
    Detach();
  }

  TVTRDiskDatabaseData& database_;
  TVTRDiskTableData* table_ = nullptr;
};

// The content of a table's counters file as the session sees it.
inline Bytes CountersFile(TVTRDiskTableData& table, int32_t session_id) {
  Bytes bytes(static_cast<size_t>(table.MostUpdatedFile->GetUncompressedSize(session_id)));
  table.MostUpdatedFile->ReadFile(session_id, bytes.data(), static_cast<int32_t>(bytes.size()));
  return bytes;
}
