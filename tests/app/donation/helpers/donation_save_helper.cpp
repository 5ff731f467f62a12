// Saves COUNT new donations of LINES lines each from a copy of the donation
// program, as a user does who saves again while a save reports the lock, and
// prints "saved NUMBER" for each donation it stored. The donor number TAG
// marks the donation and its lines. Copies started together first wait until
// PARTIES copies have arrived (each leaves a file in MEETING), so that they
// save at the same moment. Exits with 1 when a save is still refused after
// many tries or shows any other message than the lock.
// Usage: donation_save_helper FOLDER TAG COUNT LINES MEETING PARTIES
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "app/core/DocumentNumber.h"
#include "app/donation/MAIN_2.h"
#include "app/donation/cdonate.h"
#include "platform/os/RetryPolicy.h"
#include "platform/ui/FormsApplication.h"
#include "tests/app/core/support/HelperProgram.h"
#include "tests/app/donation/helpers/HelperSupport.h"

namespace {

constexpr int kTries = 200;

// Runs `save` until `stored` says it was stored, as long as each refusal shows
// one of the `refusals`. A committed save whose window could not yet read the
// donation back says so, and is not saved again.
bool SaveUntilStored(LastMessage& messages, const std::function<void()>& save, const std::function<bool()>& stored,
                     std::initializer_list<std::string_view> refusals) {
  for (int attempt = 0; attempt < kTries; ++attempt) {
    messages.text.clear();
    save();
    if (stored()) return messages.text.empty() || messages.text == kSavedButLockedMessage;
    bool expected = false;
    for (std::string_view refusal : refusals) expected = expected || messages.text == refusal;
    if (!expected) {
      std::fprintf(stderr, "refused: %s\n", messages.text.c_str());
      return false;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr, "usage: %s FOLDER TAG COUNT LINES MEETING PARTIES\n", argv[0]);
    return 2;
  }
  HelperProgram program(argc, argv, argv[1]);
  auto* messages = new LastMessage;
  SetDialogService(std::unique_ptr<TDialogService>(messages));
  ScopedRetryCaps short_waits({20, 10});
  StartDonationProgram()->Show();
  auto* window = FormsApplication().CreateForm<Tdonate>();
  window->Show();
  program.application.ProcessMessages();
  const std::string tag = argv[2];
  const int count = std::stoi(argv[3]);
  const int lines = std::stoi(argv[4]);
  MeetOthers(argv[5], std::stoul(argv[6]));

  for (int donation = 0; donation < count; ++donation) {
    window->Button16Click(nullptr);
    window->DonationCustNo = tag;
    window->Edit2.SetText(tag);
    const bool header = SaveUntilStored(
        *messages, [&] { window->Button12Click(nullptr); },
        [&] { return window->State() == DonationState::kNormal; },
        {kHeaderLockMessage, kNumberingFailedMessage});
    if (!header) return 1;
    std::printf("saved %s\n", window->CurrentNumber().c_str());
    for (int line = 0; line < lines; ++line) {
      const std::string price = std::to_string(line + 1);
      const bool stored = SaveUntilStored(
          *messages,
          [&] {
            window->Button5Click(nullptr);
            window->Edit9.SetText("003");
            window->Edit10.SetText("สร้างศาลา");
            window->MaskEdit12.SetText("1");
            window->MaskEdit13.SetText(price);
            window->MaskEdit14.SetText("0");
            window->Button9Click(nullptr);
          },
          [&] { return messages->text != kLineLockMessage; }, {kLineLockMessage});
      if (!stored) return 1;
    }
  }
  return 0;
}
