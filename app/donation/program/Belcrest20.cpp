// Belcrest20, the donation and sales program. Its working folder is the
// current folder, which holds "dat_temple.vtr".
#include <cstdio>
#include <cstdlib>

#include "app/core/InstallEngineUi.h"
#include "app/donation/MAIN_2.h"
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

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr, "Belcrest20 needs a graphical display: no DISPLAY or WAYLAND_DISPLAY is set.\n");
    return 1;
  }
  InitializeSQLEngine();
  TFormsApplication application(argc, argv);
  auto engine_ui = InstallEngineUi();
  StartDonationProgram();
  application.Run();
  // The windows' connections end before the engine runtime does.
  Application().DestroyComponents();
  engine_ui.reset();
  return 0;
}
