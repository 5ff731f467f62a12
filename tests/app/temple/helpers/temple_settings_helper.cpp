// A second copy of the temple program that opens the settings window and
// chooses "แก้ไข" while the test holds the settings row, declining the retry
// it is asked for. Prints the first message shown ("none" when none was) and
// whether the row went into edit: "<message>|edit <0|1>".
// Usage: temple_settings_helper FOLDER
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

#include "app/core/InstallEngineUi.h"
#include "app/core/WorkingFolder.h"
#include "app/temple/MAIN_HOTEL.h"
#include "app/temple/Ref_Temple_Sys.h"
#include "engine/sql/SQLEngineStartup.h"
#include "platform/os/RetryPolicy.h"
#include "platform/ui/FormsApplication.h"
#include "tests/platform/ui/support/ScriptedDialogs.h"
#include "tests/platform/ui/support/User.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  SetWorkingFolder(argv[1]);
  InitializeSQLEngine();
  SetRetryCaps({2, 1});
  TFormsApplication application(argc, argv);
  auto engine_ui = InstallEngineUi();
  auto owned = std::make_unique<ScriptedDialogs>();
  ScriptedDialogs& dialogs = *owned;
  SetDialogService(std::move(owned));
  dialogs.Answer(mrNo);
  StartTempleProgram()->Show();
  auto* window = FormsApplication().CreateForm<TRef_Temple_Sys>();
  application.ProcessMessages();
  user::Click(*window->SpeedButton3);
  const bool editing = window->Table4->State() == dsEdit;
  std::printf("%s|edit %d\n", dialogs.Transcript().empty() ? "none" : dialogs.Transcript()[0].text.c_str(),
              editing ? 1 : 0);
  Application().DestroyComponents();
  engine_ui.reset();
  return 0;
}
