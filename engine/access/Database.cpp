#include "engine/access/Database.h"

#include <algorithm>

#include "engine/access/EngineRuntime.h"
#include "engine/access/ErrorMessage.h"
#include "engine/access/LocalSession.h"
#include "engine/access/Session.h"
#include "engine/access/SessionDataSet.h"
#include "engine/access/SessionList.h"
#include "engine/storage/pager/DatabaseHeader.h"
#include "platform/db/DatabaseError.h"
#include "platform/rtl/CodePage874.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr const char* kOpenDatabase = "Cannot perform this operation on an open database";

}  // namespace

TVTRDatabase::TVTRDatabase(TComponent* owner) : TComponent(owner) {
  session_ = dynamic_cast<TVTRSession*>(owner);
  if (session_ == nullptr) session_ = TVTRSession::AutoNamingSessionOf(owner);
  if (session_ == nullptr) session_ = &DefaultSession();
  session_name_ = session_->SessionName();
  session_->AddDatabase(this);
  if (owner != nullptr && owner->ComponentState().Contains(csDesigning)) SetDesignModeFlag();
}

TVTRDatabase::~TVTRDatabase() {
  Destroying();
  ShowingEngineErrors(this, [this] { Close(); });
  datasets_.clear();
  if (session_ != nullptr) session_->RemoveDatabase(this);
}

std::string TVTRDatabase::CurrentVersion() {
  return Format("%.2f ", kDatabaseVersion);
}

void TVTRDatabase::SetConnected(bool value) {
  if (ComponentState().Contains(csReading)) {
    streamed_connected_ = value;
    return;
  }
  value ? Open() : Close();
}

void TVTRDatabase::Loaded() {
  TComponent::Loaded();
  if (streamed_connected_)
    Open();
  else
    BindSession(false);
}

void TVTRDatabase::StartTransaction() {
  CheckActive();
  if (engine_session_->InTransaction) DatabaseError("Database already in transaction");
  engine_session_->StartTransaction();
}

void TVTRDatabase::Commit(bool flush) {
  CheckActive();
  engine_session_->Commit(flush);
}

void TVTRDatabase::Rollback() {
  CheckActive();
  engine_session_->Rollback();
}

bool TVTRDatabase::InTransaction() const {
  return Connected() && engine_session_->InTransaction;
}

void TVTRDatabase::GetTableNames(TStringList& names) {
  const bool was_connected = Connected();
  try {
    Open();
    TStringList engine_names;
    engine_session_->GetTableNames(engine_names);
    for (int32_t i = 0; i < engine_names.Count(); ++i) names.Add(Cp874ToUtf8(engine_names[i]));
  } catch (...) {
    // Callers take what the list holds.
  }
  if (was_connected) return;
  try {
    Close();
  } catch (...) {
    // As above: the names are the answer.
  }
}

bool TVTRDatabase::TableExists(std::string_view table_name) {
  Open();
  return engine_session_->TableExists(Utf8ToCp874(table_name));
}

void TVTRDatabase::AddDataSet(TVTRSessionDataSet* dataset) {
  if (std::ranges::find(datasets_, dataset) == datasets_.end()) datasets_.push_back(dataset);
}

void TVTRDatabase::RemoveDataSet(TVTRSessionDataSet* dataset) {
  std::erase(datasets_, dataset);
}

void TVTRDatabase::CloseDataSets() {
  // A dataset leaves the list as it disconnects; the list is searched again
  // after each, and one that stays is not disconnected twice.
  std::vector<TVTRSessionDataSet*> done;
  const auto pending = [&](TVTRSessionDataSet* dataset) { return std::ranges::find(done, dataset) == done.end(); };
  const auto disconnect = [&](TVTRSessionDataSet* dataset) {
    done.push_back(dataset);
    dataset->Disconnect();
  };
  for (;;) {
    const auto query = std::ranges::find_if(
        datasets_, [&](TVTRSessionDataSet* dataset) { return dataset->IsQuery() && pending(dataset); });
    if (query == datasets_.end()) break;
    disconnect(*query);
  }
  for (;;) {
    const auto last = std::ranges::find_if(datasets_.rbegin(), datasets_.rend(), pending);
    if (last == datasets_.rend()) break;
    disconnect(*last);
  }
}

void TVTRDatabase::BindSession(bool activate) {
  TVTRSessionList& list = SessionList();
  TVTRSession* target = activate ? &list.GetSession(session_name_) : list.FindSession(session_name_);
  if (target != nullptr && target != session_) {
    if (session_ != nullptr) session_->RemoveDatabase(this);
    session_ = target;
    session_->AddDatabase(this);
    try {
      CheckAliasFree(database_name_);
    } catch (...) {
      database_name_.clear();
      throw;
    }
  }
  if (activate) session_->SetActive(true);
}

void TVTRDatabase::CheckAliasFree(const std::string& name) {
  if (session_ == nullptr) return;
  // A copy: freeing a stand-in changes the session's list.
  for (TVTRDatabase* database : std::vector<TVTRDatabase*>(session_->Databases())) {
    if (database == this || !SameText(database->DatabaseName(), name) || (name.empty() && !database->Temporary))
      continue;
    // An unused temporary database only stood in for the alias.
    if (database->Temporary && database->RefCount == 0) {
      delete database;
      continue;
    }
    // Windows each own their database of an alias; only one owner's two clash.
    if (database->Owner() != Owner() || (database->HandleShared && HandleShared)) continue;
    DatabaseError(kOpenDatabase);
  }
}

void TVTRDatabase::CheckDatabaseName() const {
  if (database_name_.empty() && !Temporary) DatabaseError("Database name missing");
}

void TVTRDatabase::CheckActive() const {
  if (!Connected()) DatabaseError("Cannot perform this operation on a closed database");
}

void TVTRDatabase::CheckInactive() {
  if (!Connected()) return;
  if (!Designing()) DatabaseError(kOpenDatabase);
  Close();
}

void TVTRDatabase::CheckClosed() const {
  if (Connected()) DatabaseError(kOpenDatabase);
}

void TVTRDatabase::SetDatabaseName(const std::string& name) {
  if (name == database_name_) return;
  CheckInactive();
  CheckAliasFree(name);
  database_name_ = name;
}

void TVTRDatabase::SetDatabaseFileName(const std::string& file_name) {
  if (file_name == database_file_name_) return;
  Close();
  database_file_name_ = file_name;
}

void TVTRDatabase::SetKeepConnection(bool value) {
  keep_connection_ = value;
  if (!value && RefCount == 0) Close();
}

void TVTRDatabase::SetSessionName(const std::string& name) {
  CheckInactive();
  if (name == session_name_) return;
  session_name_ = name;
  BindSession(false);
}

void TVTRDatabase::SessionFreed(bool was_default) {
  session_ = nullptr;
  if (!was_default) {
    session_name_.clear();
    session_ = SessionList().FindSession(session_name_);
    if (session_ != nullptr) session_->AddDatabase(this);
  }
  Close();
}
