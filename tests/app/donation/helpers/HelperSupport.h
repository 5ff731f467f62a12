#pragma once
// What the helper programs of the donation program share: a dialog service
// that keeps the last message instead of showing it, and a meeting point where
// copies started together wait for each other, so that they act at the same
// moment.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <unistd.h>

#include "platform/ui/Dialogs.h"

// Keeps the last message; every question is answered with its first button
// and every input box is cancelled, which gives its default.
class LastMessage : public TDialogService {
 public:
  std::string text;
  void ShowMessage(const std::string& message) override { text = message; }
  TModalResult MessageDlg(const std::string&, const std::string& message, TMsgDlgType, TMsgDlgButtons) override {
    text = message;
    return mrOk;
  }
  bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
  void OpenWithSystem(const std::string&) override {}
};

// Leaves a file of this process in `meeting` and waits (5 s at most) until
// `parties` processes have.
inline void MeetOthers(const std::filesystem::path& meeting, size_t parties) {
  std::ofstream(meeting / std::to_string(::getpid()));
  for (int wait = 0; wait < 500; ++wait) {
    size_t arrived = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(meeting)) ++arrived;
    if (arrived >= parties) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}
