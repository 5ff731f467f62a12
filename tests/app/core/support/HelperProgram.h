#pragma once
// The start of a helper program, a copy of a program that a test runs as a
// second process: offscreen, working in FOLDER, with the SQL engine and the
// engine's user interface installed for as long as the object lives.
#include <cstdlib>
#include <memory>

#include "app/core/InstallEngineUi.h"
#include "app/core/WorkingFolder.h"
#include "engine/sql/SQLEngineStartup.h"
#include "platform/ui/FormsApplication.h"

class HelperProgram {
 public:
  HelperProgram(int& argc, char** argv, const char* folder)
      : started_(Start(folder)),
        application(argc, argv),
        engine_ui_(InstallEngineUi()) {}
  ~HelperProgram() {
    Application().DestroyComponents();
    engine_ui_.reset();
  }

 private:
  // Runs before the application object is made.
  static bool Start(const char* folder) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    SetWorkingFolder(folder);
    InitializeSQLEngine();
    return true;
  }
  bool started_;

 public:
  TFormsApplication application;

 private:
  std::unique_ptr<TInstalledEngineUi> engine_ui_;
};
