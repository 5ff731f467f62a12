#include "app/core/InstallEngineUi.h"

#include "engine/access/ErrorMessage.h"
#include "platform/ui/Dialogs.h"

namespace {

void ShowErrorUtf8(TObject*, const std::exception& error) {
  DialogService().MessageDlg(Application().Title(), ExceptionMessageUtf8(error), mtError, mbOKOnly);
}

}  // namespace

TInstalledEngineUi::TInstalledEngineUi()
    : previous_on_exception_(Application().OnException), runtime_(std::make_unique<TVTREngineRuntime>(ui_)) {
  Application().OnException = ShowErrorUtf8;
}

TInstalledEngineUi::~TInstalledEngineUi() {
  runtime_.reset();
  Application().OnException = previous_on_exception_;
}

std::unique_ptr<TInstalledEngineUi> InstallEngineUi() {
  return std::make_unique<TInstalledEngineUi>();
}
