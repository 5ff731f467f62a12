#pragma once
// TVTRDiskDatabaseData: the database object of one database file. The first
// session that connects opens the file with its system directory, connection
// slots, table list and table lock manager; the last one to leave closes it.
// It hands each session its ID (a connection slot in multi-user mode, 0
// otherwise), commits with the upgrade of the transaction's table locks that
// keeps two processes from committing to one table at once, creates new
// database files and keeps the table list entries of the disk tables.
//
// Every operation holds the object's critical section.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/storage/pager/Password.h"
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/system/TableListFile.h"

class TVTRActiveSessionsFile;
class TVTRDatabaseTableLockManager;
class TVTRDiskPageManager;
class TVTRSystemDirectory;

class TVTRDiskDatabaseData : public TVTRDatabaseData {
 public:
  explicit TVTRDiskDatabaseData(std::string database_file_name);
  // Frees the table objects and closes the file without reporting errors.
  ~TVTRDiskDatabaseData() override;

  // The first session opens the file and takes over its mode; a session of
  // the other mode then raises 20235. Multi-user sessions take a connection
  // slot; single-user ones share every slot, or use the database read-only
  // when another process holds one. A session that fails to connect leaves
  // the object closed when no other session is attached.
  void ConnectSession(TVTRBaseSession& session) override;
  // The leaving session's cursors are closed, and a transaction or
  // uncommitted change of it is rolled back before its slot is given back, so that nothing of it passes to the
  // next session of that slot; the last session closes the file. The session
  // is detached even when that fails.
  void DisconnectSession(TVTRBaseSession& session) override;
  // The names in the table list.
  void GetTableNames(TStringList& names) override;
  // Writes a new file with its catalogue; the object stays closed.
  void CreateDatabase() override;
  TVTRTableData* CreateTableData(TVTRCursor& cursor) override;
  int32_t GetNextObjectID() override;
  // Multi-user: the session's type 3 table locks become type 4 first (20233
  // and nothing written when that fails) and its transaction locks go after
  // the commit. A failed write leaves the locks for the rollback.
  void Commit(int32_t session_id, bool flush) override;
  // Multi-user: the session's transaction locks go first.
  void Rollback(int32_t session_id) override;
  void FlushFile() override;

  // needs_repair: the file was left mid-commit or is of an old format.
  void OpenDatabase(const TVTRBaseSession& session, bool exclusive, bool& needs_repair);
  void CloseDatabase();
  bool IsOpen() const { return disk_page_manager_ != nullptr; }

  const TVTRPassword& GetPassword() const { return Password; }
  bool GetRepairMode();
  void SetRepairMode(bool repair_mode);
  // Cuts the free pages at the end of the file off it.
  void TruncateFile();

  // Table list entries; each change is saved at once. The caller holds the
  // table directory lock from a change through its commit. Without an open
  // table list they raise "Pointer is nil".
  void AddTableEntry(int32_t table_id, std::string_view name, int32_t locks_start, int32_t most_updated_start,
                     int32_t metadata_start);
  TableListEntry FindTableEntry(std::string_view name);
  void DeleteTableEntry(std::string_view name);
  void RenameTableEntry(std::string_view name, std::string_view new_name);

  // The byte lock that serialises creating, opening, renaming and dropping
  // tables between processes: 20210 when it cannot be had in time, 20211
  // when it cannot be given back.
  void LockTableDirectory();
  void UnlockTableDirectory();

  // Nil while the file is closed.
  TVTRDiskPageManager* DiskPageManager() const { return disk_page_manager_.get(); }

  // Owned while the file is open.
  std::unique_ptr<TVTRSystemDirectory> SystemDirectory;
  std::unique_ptr<TVTRActiveSessionsFile> ActiveSessionsFile;
  std::unique_ptr<TVTRTableListFile> TableListFile;
  std::unique_ptr<TVTRDatabaseTableLockManager> TableLockManager;
  // Given for a new file; after opening, what the file was opened with.
  TVTRPassword Password;
  int32_t MaxConnections = 0;
  int32_t PageSize = 0;
  int32_t PagesPerExtent = 0;
  // The single-user sessions of this process hold every connection slot.
  bool AllSlotsLocked = false;

 private:
  void AttachSession(TVTRBaseSession& session);
  void RollbackLeavingSession(TVTRBaseSession& session);
  void ReleaseSlot(const TVTRBaseSession& session);
  TVTRTableListFile& OpenTableList(int32_t native_error);

  std::unique_ptr<TVTRDiskPageManager> disk_page_manager_;
};
