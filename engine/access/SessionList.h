#pragma once
// TVTRSessionList: the process's session components (SessionList()), with the
// numbers taken by automatic session names, the section that serialises
// opening databases through sessions, and the session handles.
//
// TVTRSessionComponentManager is a session's engine handle: an active session
// holds one. The default session's is the process-wide handle, which exists
// while the default session is active; every other session has its own. One
// handle is current: the last activated session's, else the default's.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/os/CriticalSection.h"

class TVTRSession;

class TVTRSessionComponentManager {};

class TVTRSessionList {
 public:
  TVTRSessionList() = default;
  // Frees every session (FreeAll).
  ~TVTRSessionList();
  TVTRSessionList(const TVTRSessionList&) = delete;
  TVTRSessionList& operator=(const TVTRSessionList&) = delete;

  // The first session ever added is the default one (its IsDefault).
  void AddSession(TVTRSession* session);
  void RemoveSession(TVTRSession* session);
  // An empty name gives the default session; otherwise the first session of
  // that name ignoring case, or nullptr.
  TVTRSession* FindSession(std::string_view name);
  // FindSession; none raises EVTRException 20002 "Invalid session name '%s'".
  TVTRSession& GetSession(std::string_view name);
  // Frees every session, the last added first.
  void FreeAll();
  // The sessions in the order they were added.
  std::vector<TVTRSession*> Sessions();
  TVTRSession* DefaultSession() const { return default_session_; }

  // The lowest number no automatic name holds, now taken; and its release.
  int32_t TakeAutoNameNumber();
  void ReleaseAutoNameNumber(int32_t number);

  // Serialises opening databases through sessions, session activation and
  // the automatic name numbers.
  TCriticalSection& SessionCriticalSection() { return session_section_; }

  // The process-wide handle; none raises EVTRException 20007 "Database
  // Engine is not initialized".
  TVTRSessionComponentManager& ProcessHandle() const;
  TVTRSessionComponentManager* CreateProcessHandle();
  void FreeProcessHandle();
  TVTRSessionComponentManager* CurrentHandle() const { return current_handle_; }
  void SetCurrentHandle(TVTRSessionComponentManager* handle) { current_handle_ = handle; }

 private:
  TCriticalSection lock_;
  std::vector<TVTRSession*> sessions_;
  TVTRSession* default_session_ = nullptr;
  bool default_taken_ = false;
  std::vector<bool> auto_name_numbers_;
  TCriticalSection session_section_;
  std::unique_ptr<TVTRSessionComponentManager> process_handle_;
  TVTRSessionComponentManager* current_handle_ = nullptr;
};
