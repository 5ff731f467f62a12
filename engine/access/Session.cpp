#include "engine/access/Session.h"

#include <algorithm>

#include "engine/access/Database.h"
#include "engine/access/EngineRuntime.h"
#include "engine/access/ErrorMessage.h"
#include "engine/access/SessionDataSet.h"
#include "engine/access/SessionList.h"
#include "platform/db/DatabaseError.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/TextCase.h"

namespace {

// The session components among the owner's components.
std::vector<TVTRSession*> SessionsOf(const TComponent* owner) {
  std::vector<TVTRSession*> sessions;
  if (owner == nullptr) return sessions;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    if (auto* session = dynamic_cast<TVTRSession*>(owner->Components(i))) sessions.push_back(session);
  }
  return sessions;
}

}  // namespace

TVTRSession* TVTRSession::AutoNamingSessionOf(const TComponent* owner, const TVTRSession* except) {
  for (TVTRSession* session : SessionsOf(owner)) {
    if (session != except && session->AutoSessionName()) return session;
  }
  return nullptr;
}

TVTRSession::TVTRSession(TComponent* owner) : TComponent(owner) {
  if (const TVTRSession* naming = AutoNamingSessionOf(owner, this)) {
    DatabaseError(Format(
        "Cannot add a session to the form or data-module while session '%s' has AutoSessionName enabled",
        naming->Name()));
  }
  SessionList().AddSession(this);
}

TVTRSession::~TVTRSession() {
  Destroying();
  const bool was_default = IsDefault();
  ShowingEngineErrors(this, [this] { SetActive(false); });
  TVTRSessionList& list = SessionList();
  list.RemoveSession(this);
  if (auto_name_number_ >= 0) list.ReleaseAutoNameNumber(auto_name_number_);
  for (TVTRDatabase* database : std::vector<TVTRDatabase*>(databases_)) {
    ShowingEngineErrors(this, [&] { database->SessionFreed(was_default); });
  }
  // The temporary databases it still owns leave it while it is whole.
  DestroyComponents();
}

bool TVTRSession::IsDefault() const {
  return SessionList().DefaultSession() == this;
}

void TVTRSession::AddDatabase(TVTRDatabase* database) {
  if (std::ranges::find(databases_, database) == databases_.end()) databases_.push_back(database);
}

void TVTRSession::RemoveDatabase(TVTRDatabase* database) {
  std::erase(databases_, database);
}

TVTRDatabase* TVTRSession::FindDatabase(std::string_view name) const {
  const auto found = std::ranges::find_if(databases_, [name](const TVTRDatabase* database) {
    return (!database->DatabaseName().empty() || database->Temporary) && SameText(database->DatabaseName(), name);
  });
  return found == databases_.end() ? nullptr : *found;
}

TVTRDatabase* TVTRSession::FindDatabaseForOwner(std::string_view name, const TComponent* owner) const {
  if (owner != nullptr) {
    for (TVTRDatabase* database : databases_) {
      if (database->Owner() == owner && SameText(database->DatabaseName(), name)) return database;
    }
  }
  return FindDatabase(name);
}

TVTRDatabase* TVTRSession::OpenDatabase(std::string_view name, TComponent* owner) {
  TVTRSessionLock lock(*this);
  std::unique_ptr<TVTRDatabase> created;
  TVTRDatabase* database = FindDatabaseForOwner(name, owner);
  if (database == nullptr) {
    created = std::make_unique<TVTRDatabase>(this);
    created->SetDatabaseName(std::string(name));
    created->SetKeepConnection(KeepConnections);
    created->Temporary = true;
    created->SilentMode = true;
    database = created.get();
  }
  database->Open();
  ++database->RefCount;
  created.release();  // this session owns it as a component
  return database;
}

void TVTRSession::ReleaseDatabase(TVTRDatabase* database) {
  if (database->RefCount > 0) --database->RefCount;
  // Disconnecting would end an open transaction without its commit: the
  // connection stays until the database component is closed.
  if (database->RefCount != 0 || database->KeepConnection() || database->InTransaction()) return;
  if (!database->Temporary)
    database->Close();
  else if (!database->ComponentState().Contains(csDestroying))
    delete database;
}

TVTRLocalSession* TVTRSession::FindSharedSession(std::string_view name) const {
  for (const TVTRDatabase* database : databases_) {
    if (database->Connected() && database->HandleShared && SameText(database->DatabaseName(), name))
      return database->EngineSession();
  }
  return nullptr;
}

void TVTRSession::LockSession() {
  if (lock_count_ > 0) {
    ++lock_count_;
    return;
  }
  TVTRSessionList& list = SessionList();
  list.SessionCriticalSection().Enter();
  ++lock_count_;
  try {
    if (Handle != nullptr)
      list.SetCurrentHandle(Handle);
    else
      SetActive(true);
  } catch (...) {
    --lock_count_;
    list.SessionCriticalSection().Leave();
    throw;
  }
}

void TVTRSession::UnlockSession() {
  if (--lock_count_ == 0) SessionList().SessionCriticalSection().Leave();
}

void TVTRSession::SetActive(bool value) {
  if (ComponentState().Contains(csReading)) {
    streamed_active_ = value;
    return;
  }
  if (value == Active()) return;
  TCriticalSectionGuard guard(SessionList().SessionCriticalSection());
  value ? Start() : Stop();
}

void TVTRSession::Start() {
  if (OnStartup) OnStartup(this);
  if (session_name_.empty()) DatabaseError("Session name missing");
  TVTRSessionList& list = SessionList();
  if (IsDefault()) {
    Handle = list.CreateProcessHandle();
  } else {
    DefaultSession().SetActive(true);
    own_handle_ = std::make_unique<TVTRSessionComponentManager>();
    Handle = own_handle_.get();
  }
  list.SetCurrentHandle(Handle);
}

void TVTRSession::Stop() {
  TVTRSessionList& list = SessionList();
  list.SetCurrentHandle(Handle);
  // The databases of the program's components are closed, then the
  // temporary ones freed, even when one fails; the first failure is raised
  // once the session is inactive. Closing a query's database frees its
  // statement, which drops its result tables in the temporary "TEMP"
  // database, so that database must still be open then.
  std::exception_ptr failure;
  const auto each_database = [&](const auto& step) {
    for (size_t i = databases_.size(); i-- > 0;) {
      if (i >= databases_.size()) continue;
      try {
        step(databases_[i]);
      } catch (...) {
        if (!failure) failure = std::current_exception();
      }
    }
  };
  each_database([](TVTRDatabase* database) {
    if (!database->Temporary) database->Close();
  });
  each_database([](TVTRDatabase* database) {
    if (database->Temporary) delete database;
  });
  if (IsDefault()) {
    list.FreeProcessHandle();
  } else {
    own_handle_.reset();
    const TVTRSession* fallback = list.DefaultSession();
    list.SetCurrentHandle(fallback != nullptr ? fallback->Handle : nullptr);
  }
  Handle = nullptr;
  if (failure) std::rethrow_exception(failure);
}

void TVTRSession::SetAutoSessionName(bool value) {
  if (value == auto_session_name_) return;
  TVTRSessionList& list = SessionList();
  if (!value) {
    if (auto_name_number_ >= 0) list.ReleaseAutoNameNumber(auto_name_number_);
    auto_name_number_ = -1;
    auto_session_name_ = false;
    return;
  }
  CheckInactive();
  if (SessionsOf(Owner()).size() > 1)
    DatabaseError("Cannot enable AutoSessionName property with more than one session on a form or data-module");
  auto_name_number_ = list.TakeAutoNameNumber();
  auto_session_name_ = true;
  if (!ComponentState().Contains(csLoading)) NameItself();
}

void TVTRSession::NameItself() {
  naming_in_progress_ = true;
  try {
    SetSessionName(Format("%s_%d", Name(), auto_name_number_ + 1));
  } catch (...) {
    naming_in_progress_ = false;
    throw;
  }
  naming_in_progress_ = false;
  if (Owner() == nullptr) return;
  for (int i = 0; i < Owner()->ComponentCount(); ++i) TakeSessionName(Owner()->Components(i));
}

void TVTRSession::TakeSessionName(TComponent* component) {
  if (auto* database = dynamic_cast<TVTRDatabase*>(component)) {
    if (!SameText(database->SessionName(), session_name_)) database->SetSessionName(session_name_);
  } else if (auto* dataset = dynamic_cast<TVTRSessionDataSet*>(component)) {
    if (!SameText(dataset->SessionName(), session_name_)) dataset->SetSessionName(session_name_);
  }
}

void TVTRSession::SetSessionName(const std::string& name) {
  if (auto_session_name_ && !naming_in_progress_)
    DatabaseError("Cannot modify SessionName while AutoSessionName is enabled");
  CheckInactive();
  if (!name.empty()) {
    const TVTRSession* other = SessionList().FindSession(name);
    if (other != nullptr && other != this) DatabaseError(Format("Duplicate session name '%s'", name));
  }
  session_name_ = name;
}

void TVTRSession::CheckInactive() const {
  if (Active()) DatabaseError("Cannot perform this operation on an active session");
}

void TVTRSession::SetName(const std::string& name) {
  TComponent::SetName(name);
  if (auto_session_name_) NameItself();
}

void TVTRSession::Loaded() {
  TComponent::Loaded();
  if (auto_session_name_) NameItself();
  SetActive(streamed_active_);
}

void TVTRSession::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opInsert && auto_session_name_ && component != this) TakeSessionName(component);
}
