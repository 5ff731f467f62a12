#include "engine/access/LocalSession.h"

#include <memory>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/PageManager.h"
#include "engine/storage/database/DatabaseDataList.h"
#include "engine/storage/disk/DiskDatabaseData.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr std::string_view kMemoryDatabaseName = "MEMORY";
constexpr std::string_view kTemporaryDatabaseName = "TEMP";

EVTRException NotInTransaction() {
  return EVTRException(20229, "Database is not in transaction. Cannot perform operation");
}

}  // namespace

TVTRLocalSession::~TVTRLocalSession() {
  try {
    SetConnected(false);
  } catch (...) {
    // The database object detached the session all the same.
  }
}

TVTRDatabaseData* TVTRLocalSession::FindDatabaseData() const {
  // Only the exact alias names the process databases; any other alias names
  // a file, and two texts for one file count as two databases.
  std::string_view file_name = DatabaseFileName;
  if (DatabaseName == kMemoryDatabaseName) file_name = kMemoryDatabaseName;
  if (DatabaseName == kTemporaryDatabaseName) file_name = kTemporaryDatabaseName;
  return DatabaseDataList().Find([file_name](const TVTRDatabaseData& database) {
    return SameText(database.DatabaseFileName, file_name);
  });
}

TVTRDatabaseData* TVTRLocalSession::NewDatabaseData() const {
  auto database = std::make_unique<TVTRDiskDatabaseData>(DatabaseFileName);
  database->ReadOnly = ReadOnly;
  database->MaxConnections = MaxConnections;
  database->Password = Password;
  database->PageSize = PageSize;
  database->PagesPerExtent = PagesPerExtent;
  return DatabaseDataList().Add(std::move(database));
}

TVTRDatabaseData* TVTRLocalSession::GetDatabaseData() const {
  TVTRDatabaseDataListGuard list_guard(DatabaseDataList());
  TVTRDatabaseData* database = FindDatabaseData();
  return database ? database : NewDatabaseData();
}

void TVTRLocalSession::SetConnected(bool value) {
  if (value == GetConnected()) return;
  TVTRDatabaseDataListGuard list_guard(DatabaseDataList());
  if (value) {
    TVTRDatabaseData* database = GetDatabaseData();
    try {
      database->ConnectSession(*this);
    } catch (...) {
      database->FreeIfNoSessions();
      throw;
    }
    DatabaseData = database;
    ReadOnly = database->ReadOnly;
    if (const auto* disk = dynamic_cast<const TVTRDiskDatabaseData*>(database)) {
      Password = disk->Password;
      PageSize = disk->PageSize;
      PagesPerExtent = disk->PagesPerExtent;
      MaxConnections = disk->MaxConnections;
    }
    return;
  }
  TVTRDatabaseData* database = DatabaseData;
  DatabaseData = nullptr;
  try {
    database->DisconnectSession(*this);
  } catch (...) {
    database->FreeIfNoSessions();
    SessionID = kInvalidSessionID;
    throw;
  }
  database->FreeIfNoSessions();
  SessionID = kInvalidSessionID;
}

TVTRDatabaseData* TVTRLocalSession::AttachedOrFound() const {
  return DatabaseData ? DatabaseData : FindDatabaseData();
}

bool TVTRLocalSession::GetRepairMode() {
  auto* disk = dynamic_cast<TVTRDiskDatabaseData*>(DatabaseData);
  return disk && disk->GetRepairMode();
}

void TVTRLocalSession::SetRepairMode(bool value) {
  if (auto* disk = dynamic_cast<TVTRDiskDatabaseData*>(DatabaseData)) disk->SetRepairMode(value);
}

void TVTRLocalSession::CreateDatabase() {
  TVTRDatabaseDataListGuard list_guard(DatabaseDataList());
  if (FindDatabaseData()) throw EVTRException(20092, "Cannot create database. Database is already open");
  TVTRDatabaseData* database = NewDatabaseData();
  try {
    database->CreateDatabase();
  } catch (...) {
    database->FreeIfNoSessions();
    throw;
  }
  database->FreeIfNoSessions();
}

void TVTRLocalSession::GetTableNames(TStringList& names) {
  if (TVTRDatabaseData* database = AttachedOrFound()) database->GetTableNames(names);
}

bool TVTRLocalSession::TableExists(std::string_view table_name) {
  TVTRDatabaseData* database = AttachedOrFound();
  return database && database->TableExists(table_name);
}

void TVTRLocalSession::Commit(bool flush) {
  if (!InTransaction) throw NotInTransaction();
  if (DatabaseData) DatabaseData->Commit(SessionID, flush);
  InTransaction = false;
}

void TVTRLocalSession::Rollback() {
  if (!InTransaction) throw NotInTransaction();
  if (DatabaseData) DatabaseData->Rollback(SessionID);
  InTransaction = false;
}

void TVTRLocalSession::MarkStatement() {
  if (DatabaseData) DatabaseData->MarkSession(SessionID);
}

void TVTRLocalSession::RollbackToStatementMark() {
  if (DatabaseData) DatabaseData->RollbackToMark(SessionID);
}

void TVTRLocalSession::ReleaseStatementMark() {
  if (DatabaseData) DatabaseData->ReleaseMark(SessionID);
}

void TVTRLocalSession::FlushBuffers() {
  if (DatabaseData) DatabaseData->FlushFile();
}

void TVTRLocalSession::TruncateFreePages() {
  if (auto* disk = dynamic_cast<TVTRDiskDatabaseData*>(DatabaseData)) disk->TruncateFile();
}
