#pragma once
// The catalogue of a database as the disk database object creates and opens
// it: system directory, connection slots and table list. Shared by the tests
// and the storage helper program.
#include <string>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/VTRDiskEngine.h"

// Creates the catalogue in a new database and commits it.
inline void CreateCatalogue(TVTRDiskPageManager& manager, int32_t slot_count) {
  TVTRSystemDirectory directory(manager);
  directory.CreateDirectory();
  TVTRActiveSessionsFile sessions(manager);
  directory.AddEntry(sdkActiveSessions, sessions.CreateFile(slot_count));
  TVTRTableListFile tables(manager);
  directory.AddEntry(sdkTableList, tables.CreateFile());
  directory.Save();
  manager.Commit(kSystemSessionID);
}

struct Catalogue {
  explicit Catalogue(TVTRDiskPageManager& manager) : directory(manager), sessions(manager), tables(manager) {
    directory.Load();
    sessions.OpenFile(directory.FindEntry(sdkActiveSessions));
    tables.OpenFile(directory.FindEntry(sdkTableList));
    tables.Load();
  }

  TVTRSystemDirectory directory;
  TVTRActiveSessionsFile sessions;
  TVTRTableListFile tables;
};

// Lists a new table the way a table creation does: under the tables lock,
// committed in the system session before the lock is given back.
inline void AddTableEntry(TVTRDiskPageManager& manager, TVTRTableListFile& tables, const std::string& name) {
  if (!kByteLockRetry.Run([&manager] { return manager.LockTables(); }))
    throw EVTRException(20210, "Database tables are locked");
  try {
    tables.AddTable(name, manager.GetNextObjectID(), -1, -1, -1);
    tables.Save();
    manager.Commit(kSystemSessionID);
  } catch (...) {
    manager.Rollback(kSystemSessionID);
    manager.UnlockTables();
    throw;
  }
  manager.UnlockTables();
}
