#include "engine/access/SessionList.h"

#include <algorithm>

#include "engine/access/Session.h"
#include "engine/foundation/VTRExcept.h"
#include "platform/rtl/TextCase.h"

TVTRSessionList::~TVTRSessionList() {
  FreeAll();
}

void TVTRSessionList::AddSession(TVTRSession* session) {
  TCriticalSectionGuard guard(lock_);
  if (!default_taken_) default_session_ = session;
  default_taken_ = true;
  sessions_.push_back(session);
}

void TVTRSessionList::RemoveSession(TVTRSession* session) {
  TCriticalSectionGuard guard(lock_);
  std::erase(sessions_, session);
  if (default_session_ == session) default_session_ = nullptr;
}

TVTRSession* TVTRSessionList::FindSession(std::string_view name) {
  TCriticalSectionGuard guard(lock_);
  if (name.empty()) return default_session_;
  const auto found =
      std::ranges::find_if(sessions_, [name](const TVTRSession* s) { return SameText(s->SessionName(), name); });
  return found == sessions_.end() ? nullptr : *found;
}

TVTRSession& TVTRSessionList::GetSession(std::string_view name) {
  TVTRSession* session = FindSession(name);
  if (session == nullptr) throw EVTRException::CreateFmt(20002, "Invalid session name '%s'", name);
  return *session;
}

void TVTRSessionList::FreeAll() {
  for (;;) {
    TVTRSession* last;
    {
      TCriticalSectionGuard guard(lock_);
      if (sessions_.empty()) return;
      last = sessions_.back();
    }
    // The session leaves the list as it goes.
    delete last;
  }
}

std::vector<TVTRSession*> TVTRSessionList::Sessions() {
  TCriticalSectionGuard guard(lock_);
  return sessions_;
}

int32_t TVTRSessionList::TakeAutoNameNumber() {
  TCriticalSectionGuard guard(session_section_);
  const auto free = std::ranges::find(auto_name_numbers_, false);
  const auto number = static_cast<int32_t>(free - auto_name_numbers_.begin());
  if (free == auto_name_numbers_.end())
    auto_name_numbers_.push_back(true);
  else
    *free = true;
  return number;
}

void TVTRSessionList::ReleaseAutoNameNumber(int32_t number) {
  TCriticalSectionGuard guard(session_section_);
  if (number >= 0 && number < static_cast<int32_t>(auto_name_numbers_.size())) auto_name_numbers_[number] = false;
}

TVTRSessionComponentManager& TVTRSessionList::ProcessHandle() const {
  if (!process_handle_) throw EVTRException(20007, "Database Engine is not initialized");
  return *process_handle_;
}

TVTRSessionComponentManager* TVTRSessionList::CreateProcessHandle() {
  if (!process_handle_) process_handle_ = std::make_unique<TVTRSessionComponentManager>();
  return process_handle_.get();
}

void TVTRSessionList::FreeProcessHandle() {
  if (current_handle_ == process_handle_.get()) current_handle_ = nullptr;
  process_handle_.reset();
}
