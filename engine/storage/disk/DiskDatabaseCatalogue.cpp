// The catalogue side of the disk database object: new files, the table list
// entries and the table directory lock.
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/disk/DiskDatabaseData.h"
#include "engine/storage/system/ActiveSessionsFile.h"
#include "engine/storage/system/SystemDirectory.h"

void TVTRDiskDatabaseData::CreateDatabase() {
  TVTRDatabaseDataGuard guard(*this);
  TVTRDiskPageManager manager;
  manager.CreateDatabase(DatabaseFileName, Password, PageSize, PagesPerExtent);
  try {
    TVTRSystemDirectory directory(manager);
    directory.CreateDirectory();
    TVTRActiveSessionsFile sessions(manager);
    directory.AddEntry(sdkActiveSessions, sessions.CreateFile(MaxConnections));
    TVTRTableListFile tables(manager);
    directory.AddEntry(sdkTableList, tables.CreateFile());
    directory.Save();
    manager.Commit(kSystemSessionID, true);
  } catch (...) {
    manager.Rollback(kSystemSessionID);
    throw;
  }
  manager.CloseDatabase();
}

TVTRTableListFile& TVTRDiskDatabaseData::OpenTableList(int32_t native_error) {
  if (!TableListFile) throw EVTRException(native_error, "Pointer is nil");
  return *TableListFile;
}

void TVTRDiskDatabaseData::AddTableEntry(int32_t table_id, std::string_view name, int32_t locks_start,
                                         int32_t most_updated_start, int32_t metadata_start) {
  TVTRDatabaseDataGuard guard(*this);
  TVTRTableListFile& tables = OpenTableList(20129);
  tables.AddTable(name, table_id, metadata_start, most_updated_start, locks_start);
  tables.Save();
}

TableListEntry TVTRDiskDatabaseData::FindTableEntry(std::string_view name) {
  TVTRDatabaseDataGuard guard(*this);
  return OpenTableList(20129).GetTable(name);
}

void TVTRDiskDatabaseData::DeleteTableEntry(std::string_view name) {
  TVTRDatabaseDataGuard guard(*this);
  TVTRTableListFile& tables = OpenTableList(20130);
  tables.DeleteTable(name);
  tables.Save();
}

void TVTRDiskDatabaseData::RenameTableEntry(std::string_view name, std::string_view new_name) {
  TVTRDatabaseDataGuard guard(*this);
  TVTRTableListFile& tables = OpenTableList(20131);
  tables.RenameTable(name, new_name);
  tables.Save();
}

void TVTRDiskDatabaseData::LockTableDirectory() {
  TVTRDatabaseDataGuard guard(*this);
  if (!disk_page_manager_ || !kByteLockRetry.Run([this] { return disk_page_manager_->LockTables(); }))
    throw EVTRException(20210, "Database tables are locked");
}

void TVTRDiskDatabaseData::UnlockTableDirectory() {
  TVTRDatabaseDataGuard guard(*this);
  if (!disk_page_manager_ || !disk_page_manager_->UnlockTables())
    throw EVTRException(20211, "Cannot unlock database tables");
}
