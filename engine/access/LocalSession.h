#pragma once
// TVTRLocalSession: the session of one database component, attached to the
// one database object of its database in the process: "MEMORY" or "TEMP",
// which live for the process, or the disk database object of its file,
// found in DatabaseDataList or created there on the first connection and
// freed with the last.
//
// Lock order: DatabaseDataList's lock, then the database object's section;
// connecting, disconnecting and creating a file hold the list's lock for
// their whole run.
#include <cstdint>
#include <string_view>

#include "engine/storage/pager/Password.h"
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/base/Session.h"

class TVTRLocalSession : public TVTRBaseSession {
 public:
  TVTRLocalSession() = default;
  // Disconnects without reporting errors; SetConnected(false) reports them.
  ~TVTRLocalSession() override;

  bool GetConnected() override { return DatabaseData != nullptr; }
  // Connecting opens a file on first use and takes back SessionID, ReadOnly,
  // MultiUser, NeedsRepair and, for a file, the password, page size, pages
  // per extent and connection count it was opened with. A failed connection
  // leaves the session unconnected and frees a database object that no
  // session uses.
  void SetConnected(bool value) override;
  bool GetRepairMode() override;
  void SetRepairMode(bool value) override;
  // Writes a new database file: 20092 while this process has it open.
  void CreateDatabase() override;
  // For a connected session.
  void GetTableNames(TStringList& names) override;
  bool TableExists(std::string_view table_name) override;
  // Nothing happens until the first change.
  void StartTransaction() override { InTransaction = true; }
  // Outside a transaction both raise 20229. A failed commit leaves the
  // transaction open, to be rolled back.
  void Commit(bool flush) override;
  void Rollback() override;
  void FlushBuffers() override;
  // Nothing while not connected.
  void MarkStatement() override;
  void RollbackToStatementMark() override;
  void ReleaseStatementMark() override;

  const TVTRPassword& GetPassword() const { return Password; }
  // Cuts the free pages at the end of a database file off it.
  void TruncateFreePages();
  // The database object of this session's database, or nullptr; takes the
  // list's lock.
  TVTRDatabaseData* FindDatabaseData() const;
  // A new disk database object with this session's settings, added to DatabaseDataList.
  TVTRDatabaseData* NewDatabaseData() const;
  TVTRDatabaseData* GetDatabaseData() const;

  // The attached database object (it belongs to DatabaseDataList); nullptr
  // while not connected.
  TVTRDatabaseData* DatabaseData = nullptr;
  // Filled by the database component before connecting.
  TVTRPassword Password;
  int32_t PageSize = 0;
  int32_t PagesPerExtent = 0;

 private:
  // The database object of a connected session, or the one it would attach to.
  TVTRDatabaseData* AttachedOrFound() const;
};
