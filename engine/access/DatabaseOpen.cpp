#include "engine/access/Database.h"

#include "engine/access/EngineRuntime.h"
#include "engine/access/EngineUi.h"
#include "engine/access/LocalSession.h"
#include "engine/access/PasswordDialog.h"
#include "engine/access/Session.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/disk/DiskDatabaseData.h"
#include "engine/storage/pager/DatabaseHeader.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "platform/db/DatabaseError.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/CodePage874.h"
#include "platform/rtl/Format.h"

namespace {

constexpr int32_t kWrongPassword = 30445;
constexpr const char* kAskRepair =
    "Database file was not correctly closed last time. Do you want to repair it?";
constexpr const char* kOldFormat =
    "Database file you are opening is of old format. It will be converted to the current Vantor Database "
    "format now. It is recommended to make a backup of the database before continuing.";

// The format version in the header of the session's open file; the current
// version for a database without a file.
double FileVersion(const TVTRLocalSession& session) {
  auto* disk = dynamic_cast<TVTRDiskDatabaseData*>(session.DatabaseData);
  if (disk == nullptr) return kDatabaseVersion;
  TVTRDatabaseDataGuard guard(*disk);
  return disk->DiskPageManager() ? disk->DiskPageManager()->GetDatabaseHeader().Version : kDatabaseVersion;
}

}  // namespace

void TVTRDatabase::Open() {
  if (Connected()) return;
  CheckDatabaseName();
  BindSession(true);
  if (HandleShared) {
    if (TVTRLocalSession* shared = session_->FindSharedSession(database_name_)) {
      engine_session_ = shared;
      session_shared_ = true;
      return;
    }
  }
  TVTRSessionLock lock(*session_);
  if (!Temporary && !FileExists(database_file_name_))
    DatabaseError(Format("Database file '%s' does not exist", database_file_name_));
  for (;;) {
    try {
      Connect();
      break;
    } catch (const EVTRException& error) {
      if (error.NativeError() != kWrongPassword || !AskPassword()) throw;
    }
  }
  if (Designing()) return;
  ReadOnly = engine_session_->ReadOnly;
  CipherAlgorithm = engine_session_->Password.Algorithm;
  PageSize = engine_session_->PageSize;
  PagesPerExtent = engine_session_->PagesPerExtent;
  MaxConnections = engine_session_->MaxConnections;
}

void TVTRDatabase::Connect() {
  CreateSession();
  try {
    engine_session_->SetConnected(true);
    if (engine_session_->NeedsRepair && !SilentMode && !DesignModeFlag()) RepairAtOpen();
  } catch (...) {
    DiscardSession();
    throw;
  }
}

void TVTRDatabase::RepairAtOpen() {
  const bool do_repair =
      FileVersion(*engine_session_) < kOldFormatVersion ? AskConvertOldFormat() : AskRepair();
  if (!do_repair) return;
  FreeSession();
  std::string error_text;
  const bool was_in_repair = InRepair;
  InRepair = true;
  bool repaired = false;
  try {
    repaired = RepairDatabase(error_text);
  } catch (...) {
    // The repair's own failure is what the user is told through 20238.
  }
  InRepair = was_in_repair;
  if (!repaired) throw EVTRException(20238, "Cannot convert database to the new format.");
  if (!error_text.empty()) EngineRuntime().Ui().Warn(error_text);
  CreateSession();
  engine_session_->SetConnected(true);
}

void TVTRDatabase::Close() {
  if (!Connected()) return;
  CloseDataSets();
  if (session_shared_) {
    session_shared_ = false;
    engine_session_ = nullptr;
  } else {
    FreeSession();
  }
  RefCount = 0;
}

void TVTRDatabase::CreateSession() {
  own_session_ = NewEngineSession();
  engine_session_ = own_session_.get();
  session_shared_ = false;
}

std::unique_ptr<TVTRLocalSession> TVTRDatabase::NewEngineSession() const {
  auto session = std::make_unique<TVTRLocalSession>();
  session->DatabaseName = database_name_;
  session->DatabaseFileName = database_file_name_;
  session->Password = {Utf8ToCp874(Password), CipherAlgorithm};
  session->PageSize = PageSize;
  session->PagesPerExtent = PagesPerExtent;
  session->MaxConnections = MaxConnections;
  session->ReadOnly = ReadOnly;
  session->Exclusive = Exclusive;
  session->MultiUser = MultiUser;
  return session;
}

void TVTRDatabase::FreeSession() {
  // The component is disconnected whatever the engine session reports.
  const std::unique_ptr<TVTRLocalSession> session = std::move(own_session_);
  engine_session_ = nullptr;
  if (session) session->SetConnected(false);
}

void TVTRDatabase::DiscardSession() {
  own_session_.reset();  // disconnects without reporting
  engine_session_ = nullptr;
}

bool TVTRDatabase::AskPassword() {
  if (!OnPassword) return ShowPasswordDialog(*this, "");
  bool continue_ = false;
  OnPassword(this, continue_);
  return continue_;
}

bool TVTRDatabase::AskRepair() {
  if (OnNeedRepair) {
    bool do_repair = false;
    OnNeedRepair(this, do_repair);
    return do_repair;
  }
  return !InRepair && EngineRuntime().Ui().Confirm(kAskRepair);
}

bool TVTRDatabase::AskConvertOldFormat() {
  if (InRepair) return false;
  EngineRuntime().Ui().Inform(kOldFormat);
  return true;
}
