#pragma once
// The fixture of the donation program's register tests: a fresh temple
// database, the donor prefix of the settings, and the dialogs' texts.
#include <string>
#include <vector>

#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

using Rows = std::vector<std::vector<std::string>>;

class DonationRegisterTest : public TempleWindowTest {
 protected:
  void SetDonorPrefix(const std::string& prefix) {
    TVTRTable& settings = OtherUser("sys_sys");
    settings.Open();
    settings.Edit();
    settings.FieldByName("prefix_donate")->SetAsString(prefix);
    settings.Post();
    settings.Close();
  }

  // The texts of the dialogs shown so far.
  std::vector<std::string> Shown() {
    std::vector<std::string> texts;
    for (const DialogRecord& record : Dialogs().Transcript()) texts.push_back(record.text);
    return texts;
  }
};
