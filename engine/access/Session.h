#pragma once
// TVTRSession: a session component. It owns the database components that
// datasets open by alias when no component of that alias exists (temporary
// ones), keeps the list of every database component bound to it, and is
// active while it holds an engine handle (SessionList.h). The process has
// the default session "Default" (DefaultSession()); forms may add their own.
//
// Misuse raises the dataset layer's EDatabaseError with fixed texts; an
// unknown session name raises EVTRException 20002.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Component.h"

class TVTRDatabase;
class TVTRLocalSession;
class TVTRSessionComponentManager;

class TVTRSession : public TComponent {
 public:
  // Refused while another session of the same owner has AutoSessionName set.
  explicit TVTRSession(TComponent* owner);
  // Makes the session inactive and leaves the session list; the database
  // components bound to it fall back to the default session, or to none when
  // this is the default session. Failures go to the application object.
  ~TVTRSession() override;

  // Called by the database components as they bind to or leave the session.
  void AddDatabase(TVTRDatabase* database);
  void RemoveDatabase(TVTRDatabase* database);
  const std::vector<TVTRDatabase*>& Databases() const { return databases_; }
  // The first bound database of that alias (ignoring case); one without an
  // alias counts only when temporary.
  TVTRDatabase* FindDatabase(std::string_view name) const;
  // With an owner, first a database of that owner and alias, so that two
  // windows with a database of the same alias each keep their own; otherwise
  // FindDatabase.
  TVTRDatabase* FindDatabaseForOwner(std::string_view name, const TComponent* owner) const;
  // The database a dataset of `owner` uses for the alias, connected, its
  // reference count raised: an existing one (FindDatabaseForOwner) or a new
  // temporary, silent one that this session owns.
  TVTRDatabase* OpenDatabase(std::string_view name, TComponent* owner);
  // The dataset's counterpart: lowers the reference count; at 0, without
  // KeepConnection and outside a transaction, the database is closed, or
  // freed when temporary.
  void ReleaseDatabase(TVTRDatabase* database);
  // The engine session of the first connected, shared database of that alias.
  TVTRLocalSession* FindSharedSession(std::string_view name) const;

  // Re-entrant hold of the session section, which also starts the session
  // (its handle current, or the session made active).
  void LockSession();
  void UnlockSession();

  bool Active() const { return Handle != nullptr; }
  void SetActive(bool value);
  bool AutoSessionName() const { return auto_session_name_; }
  void SetAutoSessionName(bool value);
  const std::string& SessionName() const { return session_name_; }
  void SetSessionName(const std::string& name);
  // "Cannot perform this operation on an active session".
  void CheckInactive() const;
  bool IsDefault() const;
  // Renaming the component renames an automatically named session.
  void SetName(const std::string& name) override;

  // The session of `owner` that has AutoSessionName set, or nullptr.
  static TVTRSession* AutoNamingSessionOf(const TComponent* owner, const TVTRSession* except = nullptr);

  // The value temporary databases take for KeepConnection.
  bool KeepConnections = true;
  // Called when the session becomes active.
  TNotifyEvent OnStartup;
  // Set exactly while the session is active.
  TVTRSessionComponentManager* Handle = nullptr;

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void Start();
  void Stop();
  void NameItself();
  void TakeSessionName(TComponent* component);

  std::vector<TVTRDatabase*> databases_;
  std::unique_ptr<TVTRSessionComponentManager> own_handle_;
  std::string session_name_;
  bool streamed_active_ = false;
  bool auto_session_name_ = false;
  bool naming_in_progress_ = false;
  int32_t auto_name_number_ = -1;
  int32_t lock_count_ = 0;
};

// Holds LockSession for its lifetime.
class TVTRSessionLock {
 public:
  explicit TVTRSessionLock(TVTRSession& session) : session_(session) { session_.LockSession(); }
  ~TVTRSessionLock() { session_.UnlockSession(); }
  TVTRSessionLock(const TVTRSessionLock&) = delete;
  TVTRSessionLock& operator=(const TVTRSessionLock&) = delete;

 private:
  TVTRSession& session_;
};
