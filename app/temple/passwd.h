#pragma once
// Tpasswd: the login window of the temple program, the shared login window
// with the temple menus of each user level. Its connection stays open while
// the window exists.
#include "app/core/LoginWindow.h"

// The temple main window's menus of user levels 1 to 5 and of any other level.
extern const LevelMenuTable kTempleLevelMenus;

class Tpasswd : public TLoginWindow {
 public:
  Tpasswd(TComponent* owner, TMdiFrame& main);
};
