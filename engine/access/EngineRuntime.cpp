#include "engine/access/EngineRuntime.h"

#include <stdexcept>

#include "engine/access/Session.h"
#include "engine/access/SessionList.h"
#include "engine/access/WaitWindow.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/database/DatabaseDataList.h"
#include "engine/storage/memory/MemoryDatabaseData.h"
#include "engine/storage/temp/TemporaryDatabaseData.h"

namespace {

TVTREngineRuntime* g_runtime = nullptr;

EVTRException NotInitialized() {
  return EVTRException(20007, "Database Engine is not initialized");
}

}  // namespace

TVTREngineRuntime::TVTREngineRuntime(EngineUi& ui) : ui_(ui) {
  if (g_runtime != nullptr) throw std::logic_error("the engine runtime exists already");
  wait_window_ = std::make_unique<TfrmWait>(ui_);
  DatabaseDataList().Add(std::make_unique<TVTRMemoryDatabaseData>());
  DatabaseDataList().Add(std::make_unique<TVTRTemporaryDatabaseData>());
  session_list_ = std::make_unique<TVTRSessionList>();
  g_runtime = this;
  try {
    auto* session = new TVTRSession(nullptr);
    session->SetSessionName("Default");
  } catch (...) {
    g_runtime = nullptr;
    session_list_.reset();
    DatabaseDataList().Clear();
    throw;
  }
}

TVTREngineRuntime::~TVTREngineRuntime() {
  // The sessions reach the list through SessionList() while they go, so they
  // go before the list does.
  session_list_->FreeAll();
  session_list_.reset();
  DatabaseDataList().Clear();
  wait_window_.reset();
  g_runtime = nullptr;
}

TVTREngineRuntime& EngineRuntime() {
  if (g_runtime == nullptr) throw NotInitialized();
  return *g_runtime;
}

TVTRSessionList& SessionList() {
  return *EngineRuntime().session_list_;
}

TVTRSession& DefaultSession() {
  TVTRSession* session = SessionList().DefaultSession();
  if (session == nullptr) throw NotInitialized();
  return *session;
}

TfrmWait& WaitWindow() {
  return *EngineRuntime().wait_window_;
}

bool DesignModeFlag() {
  return EngineRuntime().design_mode_flag_;
}

void SetDesignModeFlag() {
  EngineRuntime().design_mode_flag_ = true;
}
