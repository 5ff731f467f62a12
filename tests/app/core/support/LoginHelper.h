#pragma once
// The body of the helper programs that log a user in from a copy of a
// program: starts the program offscreen in FOLDER, logs USER in with
// PASSWORD through its login window, prints what `report` makes of the main
// window and the login window, and ends.
// Usage: <helper> FOLDER USER PASSWORD
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/core/InstallEngineUi.h"
#include "app/core/WorkingFolder.h"
#include "engine/sql/SQLEngineStartup.h"
#include "platform/ui/FormsApplication.h"

template <typename Frame, typename Login>
int RunLoginHelper(int argc, char** argv, Frame* (*start)(),
                   const std::function<std::string(Frame&, Login&)>& report) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FOLDER USER PASSWORD\n", argv[0]);
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  SetWorkingFolder(argv[1]);
  InitializeSQLEngine();
  TFormsApplication application(argc, argv);
  auto engine_ui = InstallEngineUi();
  Frame* main_window = start();
  main_window->Show();
  main_window->Login1Click(nullptr);
  application.ProcessMessages();
  auto* login = FormsApplication().Newest<Login>();
  if (login == nullptr) return 1;
  login->Edit1->SetText(argv[2]);
  login->Edit2->SetText(argv[3]);
  login->Button1Click(nullptr);
  std::printf("%s\n", report(*main_window, *login).c_str());
  Application().DestroyComponents();
  engine_ui.reset();
  return 0;
}
