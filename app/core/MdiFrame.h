#pragma once
// The main window both programs share: an MDI frame with its main menu, the
// hidden tool bar, the menu states of the logged-out and logged-in windows,
// the service message, the help file and web site, the backup reminder every
// way of ending the program passes through, and the menu's windows opened
// through the program's table of window factories.
//
// The login window writes `LoginUserName` and `UserLevel` and moves the frame
// between its states (ShowLoggedOut, ShowLevel).
#include <array>
#include <string>
#include <vector>

#include "app/core/MenuStates.h"
#include "app/core/WindowFactories.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Form.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Panel.h"

inline constexpr const char* kDefaultPassword = "8052";
inline constexpr const char* kBackupReminder =
    "หลังจากปิดโปรแกรมนี้แล้ว  ควร.. สำรองข้อมูล ด้วยเพื่อความปลอดภัย...\r\rอ่านวิธีสำรองข้อมูลได้ที่ Help";
inline constexpr const char* kServiceMessage = "User Name = admin\rPassword = 8052";
inline constexpr const char* kMakerWebSite = "https://quillmark.example/";

struct FrameDefinition {
  WindowFactories factories;
  MenuStates logged_out;
  // Relative to the working folder.
  std::string help_file;
};

class TMdiFrame : public TForm {
 public:
  static constexpr int kSpeedButtons = 10;

  TMdiFrame(TComponent* owner, FrameDefinition definition);

  TMainMenu* MainMenu1;
  TMenuItem* Serv;
  TPanel* Panel1;
  // SpeedButton(1) to SpeedButton(10).
  TSpeedButton* SpeedButton(int number) const { return speed_buttons_.at(number - 1); }

  std::string LoginUserName;
  int UserLevel = 0;

  // Tool bar hidden, all speed buttons disabled, the logged-out menus.
  void ShowLoggedOut();
  // Tool bar hidden, the menus and speed buttons of `level`.
  void ShowLevel(int level, const LevelMenuTable& table);

  void ServClick(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);

 protected:
  // An item under `parent` (the menu bar when null), named for the state
  // tables; a caption "-" makes a separator.
  TMenuItem* Item(TMenuItem* parent, const char* name, const char* caption, TNotifyEvent on_click = {});
  TMenuItem* Line(TMenuItem* parent);
  // An item whose handler opens a window: without a factory it stays disabled.
  TMenuItem* WindowItem(TMenuItem* parent, const char* name, const char* caption, TNotifyEvent on_click);
  // Invisible and disabled in every state, with the separators beside them.
  void HideItems(const std::vector<TMenuItem*>& items);

  // Opens the window of the item's factory; a picker returns once it closed.
  void OpenWindow(const TMenuItem& item);
  void OpenHelpFile();
  void OpenWebSite();
  void ApplyMenuStates(const MenuStates& states);
  // Buttons 1 to `count`: those listed enabled, the others disabled.
  void EnableSpeedButtons(int count, const std::vector<int>& enabled);

 private:
  TMenuItem* FindItem(std::string_view name) const;

  FrameDefinition definition_;
  std::array<TSpeedButton*, kSpeedButtons> speed_buttons_{};
  std::vector<TMenuItem*> window_items_;
  std::vector<TMenuItem*> hidden_items_;
};
