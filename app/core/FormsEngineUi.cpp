#include "app/core/FormsEngineUi.h"

#include "app/core/LayoutForm.h"
#include "engine/access/PasswordDialog.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/FormsApplication.h"
#include "platform/ui/Label.h"

TFormsEngineUi::TFormsEngineUi() : wait_form_(std::make_unique<TWaitForm>(nullptr)) {}

std::optional<std::string> TFormsEngineUi::AskPassword(std::string_view name) {
  TLayoutForm dialog(nullptr, kPassDialogLayout);
  dialog.Control<TLabel>("lbName").SetCaption(std::string(name));
  if (dialog.ShowModal() != mrOk) return std::nullopt;
  return dialog.Control<TEdit>("Pass").Text();
}

bool TFormsEngineUi::Confirm(std::string_view text) {
  return MessageDlg(std::string(text), mtConfirmation, mbYesNo) == mrYes;
}

void TFormsEngineUi::Inform(std::string_view text) {
  MessageDlg(std::string(text), mtInformation, mbOKOnly);
}

void TFormsEngineUi::Warn(std::string_view text) {
  MessageDlg(std::string(text), mtWarning, mbOKOnly);
}

void TFormsEngineUi::ShowWaitWindow(TfrmWait& window) {
  wait_form_->ShowWait(window);
}

void TFormsEngineUi::HideWaitWindow() {
  wait_form_->Hide();
}

void TFormsEngineUi::WaitWindowChanged(const TfrmWait& window) {
  wait_form_->Refresh(window);
}

std::vector<TEngineWindowId> TFormsEngineUi::DisableTaskWindows() {
  return FormsApplication().DisableTaskWindows(wait_form_.get()).forms;
}

void TFormsEngineUi::EnableTaskWindows(const std::vector<TEngineWindowId>& windows) {
  FormsApplication().EnableTaskWindows(TTaskWindowList{windows});
}

TEngineWindowId TFormsEngineUi::ActiveWindow() {
  const TForm* form = FormsApplication().ActiveForm();
  return form != nullptr ? form->Serial() : 0;
}

void TFormsEngineUi::ActivateWindow(TEngineWindowId window) {
  if (TForm* form = FormsApplication().FormBySerial(window)) form->BringToFront();
}

void TFormsEngineUi::MinimizeApplication() {
  FormsApplication().Minimize();
}

void TFormsEngineUi::RestoreApplication() {
  FormsApplication().Restore();
}

TNotifyEvent TFormsEngineUi::RestoreHandler() {
  return FormsApplication().OnRestore;
}

void TFormsEngineUi::SetRestoreHandler(TNotifyEvent handler) {
  FormsApplication().OnRestore = std::move(handler);
}

void TFormsEngineUi::ProcessMessages() {
  FormsApplication().ProcessMessages();
}

void TFormsEngineUi::StartTimer(int32_t milliseconds, std::function<void()> handler) {
  wait_form_->StartTimer(milliseconds, std::move(handler));
}

void TFormsEngineUi::StopTimer() {
  wait_form_->StopTimer();
}
