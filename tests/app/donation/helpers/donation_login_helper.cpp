// Logs a user in from a copy of the donation program and prints the level
// the main window got and the greeting shown: "level <n> <greeting>".
// Usage: donation_login_helper FOLDER USER PASSWORD
#include "app/donation/MAIN_2.h"
#include "app/donation/password_donate.h"
#include "tests/app/core/support/LoginHelper.h"

int main(int argc, char** argv) {
  return RunLoginHelper<TMAIN_2, Tpassword_donate>(
      argc, argv, &StartDonationProgram, [](TMAIN_2& main_window, Tpassword_donate& login) {
        return "level " + std::to_string(main_window.UserLevel) + " " + login.Label9->Caption();
      });
}
