#include "engine/access/PasswordDialog.h"

#include "engine/access/Database.h"
#include "engine/access/EngineRuntime.h"
#include "engine/access/EngineUi.h"

bool TVTRPassDialog::ShowModal(EngineUi& ui) {
  std::optional<std::string> typed = ui.AskPassword(lbName);
  if (!typed) return false;
  Pass = std::move(*typed);
  cbOkClick();
  return true;
}

void TVTRPassDialog::cbOkClick() {
  Database.Password = Pass;
}

bool ShowPasswordDialog(TVTRDatabase& database, std::string_view name) {
  TVTRPassDialog dialog(database, std::string(name));
  return dialog.ShowModal(EngineRuntime().Ui());
}
