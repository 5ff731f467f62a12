#pragma once
// Tpassword_donate: the login window of the donation program, the shared
// login window with the donation menus of each user level.
#include "app/core/LoginWindow.h"

// The donation main window's menus of user levels 1 to 5 and of any other level.
extern const LevelMenuTable kDonationLevelMenus;

class Tpassword_donate : public TLoginWindow {
 public:
  Tpassword_donate(TComponent* owner, TMdiFrame& main);
};
