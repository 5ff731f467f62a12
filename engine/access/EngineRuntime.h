#pragma once
// TVTREngineRuntime: the data-access layer's process state, started and ended
// explicitly (never by static construction): main(), the engine
// demonstration and test fixtures create one before any component and
// destroy it after the last. Start-up, in order: the hidden wait window, the
// "MEMORY" and "TEMP" database objects in DatabaseDataList, the design-mode
// flag cleared, the session list and the default session "Default".
// Shutdown: the session list with every session (each closes or frees its
// databases), then every database object still in DatabaseDataList, first
// entry first, then the wait window.
//
// One runtime exists at a time. The accessors below raise EVTRException
// 20007 "Database Engine is not initialized" while there is none.
#include <memory>

#include "engine/access/EngineUi.h"

class TfrmWait;
class TVTRSession;
class TVTRSessionList;

class TVTREngineRuntime {
 public:
  // `ui` answers the engine's prompts and outlives the runtime. A second
  // runtime while one exists raises std::logic_error.
  explicit TVTREngineRuntime(EngineUi& ui);
  ~TVTREngineRuntime();
  TVTREngineRuntime(const TVTREngineRuntime&) = delete;
  TVTREngineRuntime& operator=(const TVTREngineRuntime&) = delete;

  EngineUi& Ui() const { return ui_; }

 private:
  friend TVTRSessionList& SessionList();
  friend TVTRSession& DefaultSession();
  friend TfrmWait& WaitWindow();
  friend bool DesignModeFlag();
  friend void SetDesignModeFlag();

  EngineUi& ui_;
  std::unique_ptr<TfrmWait> wait_window_;
  std::unique_ptr<TVTRSessionList> session_list_;
  bool design_mode_flag_ = false;
};

TVTREngineRuntime& EngineRuntime();
TVTRSessionList& SessionList();
TVTRSession& DefaultSession();
TfrmWait& WaitWindow();
// Set when a database or dataset component is created on an owner that a
// visual designer edits; then opening asks nothing and cursors create missing
// in-memory and temporary tables.
bool DesignModeFlag();
void SetDesignModeFlag();
