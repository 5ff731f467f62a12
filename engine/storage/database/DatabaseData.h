#pragma once
// TVTRDatabaseData: the in-process object of one database (a database file,
// or the process's "MEMORY" or "TEMP" database) that all sessions of the
// process on it share. It keeps the attached sessions, owns the open table
// objects and the re-entrant critical section under which every cursor,
// table and session operation on the database runs, and hands a session's
// commit and rollback to the page cache. The engines derive from it.
//
// Lock order: the lock of DatabaseDataList (DatabaseDataList.h) is taken
// before a database's section, never while the thread holds one.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/storage/base/Session.h"
#include "engine/storage/table/TableData.h"
#include "platform/os/CriticalSection.h"
#include "platform/rtl/StringList.h"

class TVTRCursor;
class TVTRPageManager;

class TVTRDatabaseData {
 public:
  // A database that lives for the process ("MEMORY", "TEMP") is kept when
  // its last session leaves; a file's database is freed then.
  TVTRDatabaseData(std::string database_file_name, bool lives_for_process);
  // Frees the table objects. Objects in DatabaseDataList are freed through it.
  virtual ~TVTRDatabaseData();
  TVTRDatabaseData(const TVTRDatabaseData&) = delete;
  TVTRDatabaseData& operator=(const TVTRDatabaseData&) = delete;

  // Attaches the session; its SessionID becomes 0.
  virtual void ConnectSession(TVTRBaseSession& session);
  // Closes the session's open cursors, then detaches it.
  virtual void DisconnectSession(TVTRBaseSession& session);
  // Without sessions, frees the object through DatabaseDataList (taking the
  // list's lock first) unless it lives for the process. True when it was
  // freed: the caller must not touch it again.
  virtual bool FreeIfNoSessions();
  // Appends the name of every table object.
  virtual void GetTableNames(TStringList& names);
  virtual void CreateDatabase() {}
  // A new table object for the cursor's TableName, taken into TableDataList.
  virtual TVTRTableData* CreateTableData(TVTRCursor& cursor) = 0;
  // The table object named like the cursor's TableName ignoring case, or nullptr.
  virtual TVTRTableData* FindTableData(const TVTRCursor& cursor);
  // FindTableData, else CreateTableData.
  virtual TVTRTableData* GetTableData(TVTRCursor& cursor);
  // The next database-wide object number.
  virtual int32_t GetNextObjectID() = 0;
  // The session's pages are committed (the base ignores the flush flag).
  virtual void Commit(int32_t session_id, bool flush);
  // The session's pages are dropped; then every table object is told.
  virtual void Rollback(int32_t session_id);
  // A statement's savepoint inside the session's transaction: its pages,
  // and what each table keeps apart from them, can go back to the mark
  // without losing what the transaction did before it. A new mark replaces
  // the old one; commit, rollback and RollbackToMark end it.
  void MarkSession(int32_t session_id);
  void RollbackToMark(int32_t session_id);
  // Ends the mark, keeping every change.
  void ReleaseMark(int32_t session_id);
  virtual void FlushFile() {}

  // The database's re-entrant critical section.
  void Lock();
  void Unlock();
  // Whether GetTableNames lists the name, ignoring case.
  bool TableExists(std::string_view table_name);
  // Takes a table object into TableDataList and returns it.
  TVTRTableData* AddTableData(std::unique_ptr<TVTRTableData> table);
  // Frees a table object of TableDataList; one that is not there is left alone.
  void FreeTableData(TVTRTableData* table);
  bool LivesForProcess() const { return lives_for_process_; }
  // Closes every cursor of the session that has a table of this database
  // open, so that none outlives the session's connection holding a table
  // object, a slot or a lock. Every cursor is closed; the first failure is
  // raised afterwards.
  void CloseSessionCursors(const TVTRBaseSession& session);

  // The fields below are guarded by the critical section.
  std::vector<TVTRBaseSession*> Sessions;                     // attached; not owned
  std::vector<std::unique_ptr<TVTRTableData>> TableDataList;  // open or kept tables
  std::string DatabaseFileName;                               // the file's path; "MEMORY" or "TEMP"
  // The page cache; nil while a disk database is not open. Owned by the engine.
  TVTRPageManager* PageManager = nullptr;
  bool ReadOnly = false;
  bool MultiUser = false;

 private:
  TCriticalSection critical_section_;
  const bool lives_for_process_;
};

// Holds a database's section for the guard's lifetime.
class TVTRDatabaseDataGuard {
 public:
  explicit TVTRDatabaseDataGuard(TVTRDatabaseData& database) : database_(database) { database_.Lock(); }
  ~TVTRDatabaseDataGuard() { database_.Unlock(); }
  TVTRDatabaseDataGuard(const TVTRDatabaseDataGuard&) = delete;
  TVTRDatabaseDataGuard& operator=(const TVTRDatabaseDataGuard&) = delete;

 private:
  TVTRDatabaseData& database_;
};
