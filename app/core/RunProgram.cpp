#include "app/core/RunProgram.h"

#include <cstdio>
#include <cstdlib>

#include "app/core/InstallEngineUi.h"
#include "engine/sql/SQLEngineStartup.h"
#include "platform/ui/FormsApplication.h"

namespace {

// A window system to show the program on: an X or Wayland display, or a Qt
// platform chosen by the user (offscreen, for one).
bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

}  // namespace

int RunProgram(int argc, char** argv, const char* program_name, const std::function<void()>& start) {
  if (!HasDisplay()) {
    std::fprintf(stderr, "%s needs a graphical display: no DISPLAY or WAYLAND_DISPLAY is set.\n", program_name);
    return 1;
  }
  InitializeSQLEngine();
  TFormsApplication application(argc, argv);
  auto engine_ui = InstallEngineUi();
  start();
  application.Run();
  Application().DestroyComponents();
  engine_ui.reset();
  return 0;
}
