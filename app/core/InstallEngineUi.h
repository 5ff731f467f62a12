#pragma once
// What a program installs at start, right after its TFormsApplication: the
// engine runtime answering its prompts in the program's windows
// (TFormsEngineUi), and the application's exception handler, which shows an
// error's message in an error box, an engine error's converted to UTF-8 from
// the engine's code page. The program keeps the installation until before its
// TFormsApplication ends.
#include <memory>

#include "app/core/FormsEngineUi.h"
#include "engine/access/EngineRuntime.h"
#include "platform/rtl/Application.h"

class TInstalledEngineUi {
 public:
  // Starts the engine runtime; see InstallEngineUi.
  TInstalledEngineUi();
  // Ends the engine runtime, then puts the exception handler found at the
  // start back: errors of the runtime's end are still shown in UTF-8.
  ~TInstalledEngineUi();
  TInstalledEngineUi(const TInstalledEngineUi&) = delete;
  TInstalledEngineUi& operator=(const TInstalledEngineUi&) = delete;

  TFormsEngineUi& Ui() { return ui_; }

 private:
  TExceptionEvent previous_on_exception_;
  TFormsEngineUi ui_;
  std::unique_ptr<TVTREngineRuntime> runtime_;
};

// Installs the engine's prompts and the exception handler; while the result
// lives, the engine runtime exists (a second one raises std::logic_error).
std::unique_ptr<TInstalledEngineUi> InstallEngineUi();
