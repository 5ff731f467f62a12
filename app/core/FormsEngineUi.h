#pragma once
// TFormsEngineUi: the engine's prompts in the program's windows. The password
// dialog and the wait window are forms drawn from the layouts the data-access
// layer keeps; questions and messages go through the dialog service; the
// program's windows are the toolkit's forms, identified by their serial
// numbers. It needs the TFormsApplication and must go before it.
#include <memory>

#include "app/core/WaitForm.h"
#include "engine/access/EngineUi.h"

class TFormsEngineUi : public EngineUi {
 public:
  TFormsEngineUi();
  TFormsEngineUi(const TFormsEngineUi&) = delete;
  TFormsEngineUi& operator=(const TFormsEngineUi&) = delete;

  // The one form that shows the wait window, hidden until a wait shows it.
  TWaitForm& WaitForm() const { return *wait_form_; }

  std::optional<std::string> AskPassword(std::string_view name) override;
  bool Confirm(std::string_view text) override;
  void Inform(std::string_view text) override;
  void Warn(std::string_view text) override;
  void ShowWaitWindow(TfrmWait& window) override;
  void HideWaitWindow() override;
  void WaitWindowChanged(const TfrmWait& window) override;
  std::vector<TEngineWindowId> DisableTaskWindows() override;
  void EnableTaskWindows(const std::vector<TEngineWindowId>& windows) override;
  TEngineWindowId ActiveWindow() override;
  void ActivateWindow(TEngineWindowId window) override;
  void MinimizeApplication() override;
  void RestoreApplication() override;
  TNotifyEvent RestoreHandler() override;
  void SetRestoreHandler(TNotifyEvent handler) override;
  void ProcessMessages() override;
  void StartTimer(int32_t milliseconds, std::function<void()> handler) override;
  void StopTimer() override;

 private:
  std::unique_ptr<TWaitForm> wait_form_;
};
