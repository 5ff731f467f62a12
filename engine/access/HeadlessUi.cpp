#include "engine/access/HeadlessUi.h"

#include <algorithm>

void TVTRHeadlessUi::Advance(int32_t milliseconds) {
  const int64_t until = now_ + milliseconds;
  while (timer_ && timer_due_ <= until) {
    now_ = timer_due_;
    std::function<void()> fired = std::move(timer_);
    timer_ = nullptr;
    fired();
  }
  now_ = until;
}

void TVTRHeadlessUi::StartTimer(int32_t milliseconds, std::function<void()> handler) {
  timer_due_ = now_ + milliseconds;
  timer_ = std::move(handler);
}

void TVTRHeadlessUi::SetWindows(std::vector<TEngineWindowId> windows) {
  windows_ = std::move(windows);
  disabled_.clear();
  active_window_ = windows_.empty() ? 0 : windows_.front();
}

bool TVTRHeadlessUi::WindowEnabled(TEngineWindowId window) const {
  return std::ranges::find(disabled_, window) == disabled_.end();
}

void TVTRHeadlessUi::RestoreByUser() {
  minimized_ = false;
  const TNotifyEvent handler = restore_handler_;
  if (handler) handler(nullptr);
}

std::optional<std::string> TVTRHeadlessUi::AskPassword(std::string_view name) {
  transcript_.push_back({pkPassword, std::string(name)});
  if (passwords_.empty()) return std::nullopt;
  std::optional<std::string> answer = std::move(passwords_.front());
  passwords_.pop_front();
  return answer;
}

bool TVTRHeadlessUi::Confirm(std::string_view text) {
  transcript_.push_back({pkConfirm, std::string(text)});
  if (confirms_.empty()) return false;
  const bool answer = confirms_.front();
  confirms_.pop_front();
  return answer;
}

void TVTRHeadlessUi::Inform(std::string_view text) {
  transcript_.push_back({pkInform, std::string(text)});
}

void TVTRHeadlessUi::Warn(std::string_view text) {
  transcript_.push_back({pkWarn, std::string(text)});
}

void TVTRHeadlessUi::ShowWaitWindow(TfrmWait& window) {
  wait_window_ = &window;
  ++wait_window_shows_;
  active_window_ = 0;  // the wait window itself
}

std::vector<TEngineWindowId> TVTRHeadlessUi::DisableTaskWindows() {
  std::vector<TEngineWindowId> newly;
  for (const TEngineWindowId window : windows_) {
    if (WindowEnabled(window)) newly.push_back(window);
  }
  disabled_.insert(disabled_.end(), newly.begin(), newly.end());
  return newly;
}

void TVTRHeadlessUi::EnableTaskWindows(const std::vector<TEngineWindowId>& windows) {
  std::erase_if(disabled_, [&](TEngineWindowId window) { return std::ranges::find(windows, window) != windows.end(); });
}
