// Logs a user in from a copy of the temple program and prints the level the
// main window got and whether its cash drawer item is enabled:
// "level <n> drawer <0|1>".
// Usage: temple_login_helper FOLDER USER PASSWORD
#include "app/temple/MAIN_HOTEL.h"
#include "app/temple/passwd.h"
#include "tests/app/core/support/LoginHelper.h"

int main(int argc, char** argv) {
  return RunLoginHelper<TMAIN_HOTEL, Tpasswd>(argc, argv, &StartTempleProgram, [](TMAIN_HOTEL& main_window, Tpasswd&) {
    return "level " + std::to_string(main_window.UserLevel) + " drawer " + (main_window.mm_cash->Enabled() ? "1" : "0");
  });
}
