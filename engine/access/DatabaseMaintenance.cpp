// Creating, deleting and truncating a database file through its component.
#include <memory>

#include "engine/access/Database.h"
#include "engine/access/ErrorMessage.h"
#include "engine/access/LocalSession.h"
#include "engine/access/Session.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/DatabaseFile.h"
#include "platform/db/DatabaseError.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/Format.h"

namespace {

constexpr int32_t kFileInUse = 20239;

}  // namespace

void TVTRDatabase::PrepareMaintenance() {
  CheckDatabaseName();
  BindSession(true);
  CheckInactive();
}

void TVTRDatabase::CheckNotInUse(const char* operation) const {
  if (!TVTRDatabaseFile::IsOpenAnywhere(database_file_name_)) return;
  throw EVTRException::CreateFmt(kFileInUse,
                                 "Cannot perform '%s' operation: database file '%s' is open by another connection",
                                 operation, EngineMessageText(database_file_name_));
}

void TVTRDatabase::CreateDatabase() {
  PrepareMaintenance();
  TVTRSessionLock lock(*session_);
  const std::unique_ptr<TVTRLocalSession> session = NewEngineSession();
  session->CreateDatabase();
}

void TVTRDatabase::DeleteDatabase() {
  PrepareMaintenance();
  CheckNotInUse("DeleteDatabase");
  DeleteFile(database_file_name_);
}

void TVTRDatabase::TruncateDatabase() {
  PrepareMaintenance();
  const bool was_exclusive = Exclusive;
  Exclusive = true;
  try {
    Open();
    engine_session_->TruncateFreePages();
    Close();
  } catch (...) {
    CleaningUp([this] { Close(); });
    Exclusive = was_exclusive;
    throw;
  }
  Exclusive = was_exclusive;
}
