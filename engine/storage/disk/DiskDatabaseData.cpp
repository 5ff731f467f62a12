#include "engine/storage/disk/DiskDatabaseData.h"

#include <algorithm>
#include <exception>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/pager/FreeSpaceManager.h"
#include "engine/storage/base/Cursor.h"
#include "engine/storage/disk/DiskTableData.h"
#include "engine/storage/locks/TableLockManager.h"
#include "engine/storage/system/ActiveSessionsFile.h"
#include "engine/storage/system/SystemDirectory.h"

TVTRDiskDatabaseData::TVTRDiskDatabaseData(std::string database_file_name)
    : TVTRDatabaseData(std::move(database_file_name), false) {}

TVTRDiskDatabaseData::~TVTRDiskDatabaseData() {
  // The table objects use the file while they go.
  TableDataList.clear();
  try {
    CloseDatabase();
  } catch (...) {
    // The page manager's destructor closes the file quietly.
  }
}

void TVTRDiskDatabaseData::OpenDatabase(const TVTRBaseSession& session, bool exclusive, bool& needs_repair) {
  TVTRDatabaseDataGuard guard(*this);
  MultiUser = session.MultiUser;
  try {
    disk_page_manager_ = std::make_unique<TVTRDiskPageManager>();
    PageManager = disk_page_manager_.get();
    disk_page_manager_->OpenDatabase(DatabaseFileName, Password, MultiUser, exclusive, needs_repair,
                                     ReadOnly);
    Password = disk_page_manager_->GetPassword();
    PageSize = disk_page_manager_->PageSize();
    PagesPerExtent = disk_page_manager_->GetDatabaseHeader().PagesPerExtent;
    SystemDirectory = std::make_unique<TVTRSystemDirectory>(*disk_page_manager_);
    SystemDirectory->Load();
    ActiveSessionsFile = std::make_unique<TVTRActiveSessionsFile>(*disk_page_manager_);
    ActiveSessionsFile->OpenFile(SystemDirectory->FindEntry(sdkActiveSessions));
    MaxConnections = ActiveSessionsFile->SlotCount();
    TableListFile = std::make_unique<TVTRTableListFile>(*disk_page_manager_);
    TableListFile->OpenFile(SystemDirectory->FindEntry(sdkTableList));
    TableListFile->Load();
    TableLockManager = std::make_unique<TVTRDatabaseTableLockManager>(*disk_page_manager_, MaxConnections);
  } catch (...) {
    CloseDatabase();
    throw;
  }
}

void TVTRDiskDatabaseData::CloseDatabase() {
  TVTRDatabaseDataGuard guard(*this);
  TableDataList.clear();
  SystemDirectory.reset();
  TableListFile.reset();
  ActiveSessionsFile.reset();
  TableLockManager.reset();
  AllSlotsLocked = false;
  if (!disk_page_manager_) return;
  std::unique_ptr<TVTRDiskPageManager> manager = std::move(disk_page_manager_);
  PageManager = nullptr;
  if (manager->IsOpen()) manager->CloseDatabase();
}

void TVTRDiskDatabaseData::ConnectSession(TVTRBaseSession& session) {
  TVTRDatabaseDataGuard guard(*this);
  try {
    if (!IsOpen()) {
      bool needs_repair = false;
      OpenDatabase(session, session.Exclusive, needs_repair);
      session.NeedsRepair = needs_repair;
      session.MultiUser = MultiUser;
    }
    AttachSession(session);
  } catch (...) {
    if (Sessions.empty()) CloseDatabase();
    throw;
  }
}

void TVTRDiskDatabaseData::AttachSession(TVTRBaseSession& session) {
  if (session.MultiUser != MultiUser)
    throw EVTRException(20235, "Cannot open database in multi-user and signle-user mode at the same time");
  if (MultiUser) {
    session.SessionID = ActiveSessionsFile->Connect();
  } else {
    session.SessionID = 0;
    if (!AllSlotsLocked) {
      AllSlotsLocked = ActiveSessionsFile->LockAllSlots();
      // Another process uses the file in multi-user mode: look, do not touch.
      if (!AllSlotsLocked) ReadOnly = true;
    }
  }
  Sessions.push_back(&session);
}

void TVTRDiskDatabaseData::DisconnectSession(TVTRBaseSession& session) {
  TVTRDatabaseDataGuard guard(*this);
  if (std::ranges::find(Sessions, &session) == Sessions.end()) return;
  std::exception_ptr failure;
  try {
    CloseSessionCursors(session);
    RollbackLeavingSession(session);
    ReleaseSlot(session);
  } catch (...) {
    // A slot whose cursors or rollback failed stays taken until the file
    // closes, so that no later session inherits what is left of them.
    failure = std::current_exception();
  }
  std::erase(Sessions, &session);
  session.SessionID = kInvalidSessionID;
  if (Sessions.empty()) {
    try {
      CloseDatabase();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  if (failure) std::rethrow_exception(failure);
}

void TVTRDiskDatabaseData::RollbackLeavingSession(TVTRBaseSession& session) {
  // Single-user sessions share session ID 0: the pages are the others' too
  // while they stay, unless this session's own transaction made them.
  const bool own_pages = MultiUser || Sessions.size() == 1;
  if (session.InTransaction || (own_pages && disk_page_manager_->HasSessionChanges(session.SessionID))) {
    Rollback(session.SessionID);
    session.InTransaction = false;
  }
}

void TVTRDiskDatabaseData::ReleaseSlot(const TVTRBaseSession& session) {
  if (MultiUser) {
    ActiveSessionsFile->Disconnect(session.SessionID);
  } else if (AllSlotsLocked && Sessions.size() == 1) {
    ActiveSessionsFile->UnlockAllSlots();
    AllSlotsLocked = false;
  }
}

void TVTRDiskDatabaseData::GetTableNames(TStringList& names) {
  TVTRDatabaseDataGuard guard(*this);
  if (TableListFile) TableListFile->GetTableNames(names);
}

int32_t TVTRDiskDatabaseData::GetNextObjectID() {
  TVTRDatabaseDataGuard guard(*this);
  if (!disk_page_manager_) throw EVTRException(30399, "Error - database file is not opened.");
  return disk_page_manager_->GetNextObjectID();
}

void TVTRDiskDatabaseData::Commit(int32_t session_id, bool flush) {
  TVTRDatabaseDataGuard guard(*this);
  if (!disk_page_manager_) return;
  // The engine's own session holds no table locks.
  const bool locks = MultiUser && session_id != kSystemSessionID;
  if (locks && !TableLockManager->LockTablesForCommit(session_id))
    throw EVTRException(20233, "Cannot commit changes. Locks of modified tables failed");
  disk_page_manager_->Commit(session_id, flush);
  if (locks) TableLockManager->ReleaseTransactionLocks(session_id);
}

void TVTRDiskDatabaseData::Rollback(int32_t session_id) {
  TVTRDatabaseDataGuard guard(*this);
  if (MultiUser && TableLockManager && session_id != kSystemSessionID)
    TableLockManager->ReleaseTransactionLocks(session_id);
  TVTRDatabaseData::Rollback(session_id);
}

void TVTRDiskDatabaseData::FlushFile() {
  TVTRDatabaseDataGuard guard(*this);
  if (disk_page_manager_) disk_page_manager_->DatabaseFile().FlushFileBuffers();
}

bool TVTRDiskDatabaseData::GetRepairMode() {
  TVTRDatabaseDataGuard guard(*this);
  return disk_page_manager_ && disk_page_manager_->FreeSpaceManager().RepairMode();
}

void TVTRDiskDatabaseData::SetRepairMode(bool repair_mode) {
  TVTRDatabaseDataGuard guard(*this);
  if (disk_page_manager_) disk_page_manager_->FreeSpaceManager().SetRepairMode(repair_mode);
}

void TVTRDiskDatabaseData::TruncateFile() {
  TVTRDatabaseDataGuard guard(*this);
  if (disk_page_manager_) disk_page_manager_->TruncateFreeTail();
}

TVTRTableData* TVTRDiskDatabaseData::CreateTableData(TVTRCursor& cursor) {
  TVTRDatabaseDataGuard guard(*this);
  auto table = std::make_unique<TVTRDiskTableData>(*this);
  table->TableName = cursor.TableName;
  return AddTableData(std::move(table));
}
