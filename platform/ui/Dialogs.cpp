#include "platform/ui/Dialogs.h"

#include "platform/ui/internal/QtDialogService.h"

namespace {

std::unique_ptr<TDialogService>& Installed() {
  static std::unique_ptr<TDialogService> service;
  return service;
}

}  // namespace

TModalResult ModalResultOf(TMsgDlgBtn button) {
  switch (button) {
    case mbYes:
      return mrYes;
    case mbNo:
      return mrNo;
    case mbOK:
      return mrOk;
    case mbCancel:
      return mrCancel;
    case mbAbort:
      return mrAbort;
    case mbRetry:
      return mrRetry;
    case mbIgnore:
      return mrIgnore;
  }
  return mrNone;
}

TDialogService& DialogService() {
  static QtDialogService on_screen;
  return Installed() ? *Installed() : on_screen;
}

std::unique_ptr<TDialogService> SetDialogService(std::unique_ptr<TDialogService> service) {
  std::swap(Installed(), service);
  return service;
}

std::string MessageDlgCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return "Warning";
    case mtError:
      return "Error";
    case mtInformation:
      return "Information";
    case mtConfirmation:
      return "Confirm";
    case mtCustom:
      break;
  }
  return {};
}

void ShowMessage(const std::string& text) {
  DialogService().ShowMessage(text);
}

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
  return DialogService().MessageDlg(MessageDlgCaption(type), text, type, buttons);
}

std::string InputBox(const std::string& caption, const std::string& prompt,
                     const std::string& default_value) {
  std::string value = default_value;
  return DialogService().InputQuery(caption, prompt, value) ? value : default_value;
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  return DialogService().InputQuery(caption, prompt, value);
}

void OpenWithSystem(const std::string& target) {
  DialogService().OpenWithSystem(target);
}
