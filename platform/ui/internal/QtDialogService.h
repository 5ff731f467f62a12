#pragma once
// The dialog service that shows real message and input boxes.
#include "platform/ui/Dialogs.h"

class QtDialogService : public TDialogService {
 public:
  void ShowMessage(const std::string& text) override;
  TModalResult MessageDlg(const std::string& caption, const std::string& text, TMsgDlgType type,
                          TMsgDlgButtons buttons) override;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
  void OpenWithSystem(const std::string& target) override;
};
