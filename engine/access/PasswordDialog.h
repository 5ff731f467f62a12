#pragma once
// TVTRPassDialog: the password prompt that a database component shows when
// its file's password check fails and no OnPassword handler is assigned.
// The dialog is drawn from kPassDialogLayout by the EngineUi.
#include <string>
#include <string_view>

#include "engine/access/WindowLayout.h"

class EngineUi;
class TVTRDatabase;

// "Database authentication": Label1, lbName, Pass, cbOk, cbCancel.
extern const TWindowLayout kPassDialogLayout;

class TVTRPassDialog {
 public:
  // Pass starts empty; lbName shows `name`.
  TVTRPassDialog(TVTRDatabase& database, std::string name)
      : Database(database), lbName(std::move(name)) {}

  // Shows the dialog modally; true when it closed with OK.
  bool ShowModal(EngineUi& ui);
  // OK: the database's Password becomes the text of Pass.
  void cbOkClick();

  TVTRDatabase& Database;
  std::string lbName;
  std::string Pass;
};

// Asks for the password of `database` through the runtime's EngineUi: true
// when the dialog closed with OK, the database's Password then holding the
// typed text; Cancel leaves Password unchanged and answers false.
bool ShowPasswordDialog(TVTRDatabase& database, std::string_view name);
