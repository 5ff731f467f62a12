#pragma once
// TVTRHeadlessUi: the engine's prompts without windows, for the engine
// demonstration and the tests. Questions take their answers from a script
// given beforehand (with none left, a password prompt is cancelled and a
// confirmation answered No); everything asked or shown is kept in a
// transcript; time is a manual clock that fires the one-shot timer when it
// is advanced past it. The program's windows are a list of IDs that the wait
// window disables and enables again.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/access/EngineUi.h"

class TVTRHeadlessUi : public EngineUi {
 public:
  enum TPromptKind : uint8_t { pkPassword, pkConfirm, pkInform, pkWarn };
  struct TPrompt {
    TPromptKind Kind;
    std::string Text;  // the question or message; the name for a password
    bool operator==(const TPrompt&) const = default;
  };

  // The next password prompt's answer: a text for OK, nothing for Cancel.
  void AnswerPassword(std::optional<std::string> answer) { passwords_.push_back(std::move(answer)); }
  // The next confirmation's answer: true for Yes.
  void AnswerConfirm(bool yes) { confirms_.push_back(yes); }
  const std::vector<TPrompt>& Transcript() const { return transcript_; }

  // The manual clock, in milliseconds from 0.
  int64_t Now() const { return now_; }
  // Moves the clock on; a timer that falls due runs at its moment.
  void Advance(int32_t milliseconds);
  bool TimerRunning() const { return static_cast<bool>(timer_); }

  // The program's windows, all enabled, the first one active.
  void SetWindows(std::vector<TEngineWindowId> windows);
  bool WindowEnabled(TEngineWindowId window) const;
  // The wait window as last shown; nullptr while hidden.
  const TfrmWait* ShownWaitWindow() const { return wait_window_; }
  int32_t WaitWindowShowCount() const { return wait_window_shows_; }
  bool Minimized() const { return minimized_; }
  // The user restores the minimised application: its restore handler runs.
  void RestoreByUser();

  std::optional<std::string> AskPassword(std::string_view name) override;
  bool Confirm(std::string_view text) override;
  void Inform(std::string_view text) override;
  void Warn(std::string_view text) override;
  void ShowWaitWindow(TfrmWait& window) override;
  void HideWaitWindow() override { wait_window_ = nullptr; }
  void WaitWindowChanged(const TfrmWait&) override {}
  std::vector<TEngineWindowId> DisableTaskWindows() override;
  void EnableTaskWindows(const std::vector<TEngineWindowId>& windows) override;
  TEngineWindowId ActiveWindow() override { return active_window_; }
  void ActivateWindow(TEngineWindowId window) override { active_window_ = window; }
  void MinimizeApplication() override { minimized_ = true; }
  void RestoreApplication() override { minimized_ = false; }
  TNotifyEvent RestoreHandler() override { return restore_handler_; }
  void SetRestoreHandler(TNotifyEvent handler) override { restore_handler_ = std::move(handler); }
  // What the user does while the program lets pending messages run, as
  // a test scripts it (press the wait window's Abort); nothing by default.
  void ProcessMessages() override {
    if (OnProcessMessages) OnProcessMessages();
  }
  std::function<void()> OnProcessMessages;
  void StartTimer(int32_t milliseconds, std::function<void()> handler) override;
  void StopTimer() override { timer_ = nullptr; }

 private:
  std::deque<std::optional<std::string>> passwords_;
  std::deque<bool> confirms_;
  std::vector<TPrompt> transcript_;
  int64_t now_ = 0;
  int64_t timer_due_ = 0;
  std::function<void()> timer_;
  std::vector<TEngineWindowId> windows_;
  std::vector<TEngineWindowId> disabled_;
  TEngineWindowId active_window_ = 0;
  const TfrmWait* wait_window_ = nullptr;
  int32_t wait_window_shows_ = 0;
  bool minimized_ = false;
  TNotifyEvent restore_handler_;
};
