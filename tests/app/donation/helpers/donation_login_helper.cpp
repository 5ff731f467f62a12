// Starts the donation program offscreen in FOLDER, logs USER in with PASSWORD
// through its login window and prints the level the main window got and the
// greeting shown: "level <n> <greeting>".
// Usage: donation_login_helper FOLDER USER PASSWORD
#include <cstdio>
#include <cstdlib>

#include "app/core/InstallEngineUi.h"
#include "app/core/WorkingFolder.h"
#include "app/donation/MAIN_2.h"
#include "app/donation/password_donate.h"
#include "engine/sql/SQLEngineStartup.h"
#include "platform/ui/FormsApplication.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FOLDER USER PASSWORD\n", argv[0]);
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  SetWorkingFolder(argv[1]);
  InitializeSQLEngine();
  TFormsApplication application(argc, argv);
  auto engine_ui = InstallEngineUi();
  TMAIN_2* main_window = StartDonationProgram();
  main_window->Show();
  main_window->Login1Click(nullptr);
  application.ProcessMessages();
  auto* login = FormsApplication().Newest<Tpassword_donate>();
  if (login == nullptr) return 1;
  login->Edit1->SetText(argv[2]);
  login->Edit2->SetText(argv[3]);
  login->Button1Click(nullptr);
  std::printf("level %d %s\n", main_window->UserLevel, login->Label9->Caption().c_str());
  Application().DestroyComponents();
  engine_ui.reset();
  return 0;
}
