#pragma once
// The login window of both programs, an MDI child of the main window: it
// looks a user up in the table of users, compares the password, records who
// logged in (the frame's `LoginUserName` and `UserLevel`, `CurrentStaffNo`)
// and sets the frame's menus by the user's level through the program's level
// table; the logout puts the frame back into its logged-out state. A level-1
// user also gets the panel that adds and changes users.
//
// A user's level is AC1 when it is 1 to 5, else 0. Passwords are kept and
// compared as plain text, exactly.
#include "app/core/MdiFrame.h"
#include "app/core/MenuStates.h"
#include "engine/access/Database.h"
#include "engine/access/Table.h"
#include "platform/db/DataSource.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/DBRadioGroup.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"

inline constexpr const char* kPasswordsDiffer = "รหัสไม่เหมือนกัน ลองอีกครั้ง";
inline constexpr const char* kGreeting = "Hello ";

struct LoginSettings {
  LevelMenuTable levels;
  // Whether the window's connection stays open while the table is closed.
  bool keep_connection = false;
};

class TLoginWindow : public TForm {
 public:
  TLoginWindow(TComponent* owner, TMdiFrame& main, LoginSettings settings);

  TVTRDatabase* Database1;
  TVTRTable* Table1;
  TDataSource* DataSource1;
  TPanel* Panel1;
  TEdit* Edit1;  // user name
  TEdit* Edit2;  // password
  TLabel* Label9;
  TButton* Button1;
  TButton* Button2;
  TButton* Button3;
  TPanel* Panel2;
  TEdit* Edit3;  // NAME
  TEdit* Edit7;  // PER_NO
  TEdit* Edit4;  // USRNAME
  TEdit* Edit5;  // PASSWD
  TEdit* Edit6;  // PASSWD again
  TDBRadioGroup* DBRadioGroup1;
  TButton* Button4;
  TButton* Button5;
  TButton* Button6;
  TButton* Button7;
  TDBNavigator* DBNavigator1;

  void FormActivate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void Edit1KeyPress(TObject* sender, char32_t& key);
  void Edit2KeyPress(TObject* sender, char32_t& key);
  void Button1Click(TObject* sender);
  void Button2Click(TObject* sender);
  void Button3Click(TObject* sender);
  void DataSource1DataChange(TObject* sender, TField* field);
  void Button4Click(TObject* sender);
  void Button5Click(TObject* sender);
  void Button6Click(TObject* sender);
  void Button7Click(TObject* sender);
  // Enter along Edit3, Edit7, Edit4, Edit5, Edit6 and the level.
  void MaintenanceKeyPress(TObject* sender, char32_t& key);

 private:
  TEdit* LabelledEdit(TPanel* panel, const char* caption, int left, int top, int width);
  TButton* PanelButton(TPanel* panel, const char* caption, int left, int top, TNotifyEvent on_click);
  std::string Column(const char* name) const;
  int LevelOfRow() const;
  // The current row into the maintenance boxes but the repeated password.
  void ShowUser();
  void SetEditing(bool editing);

  TMdiFrame& main_;
  LoginSettings settings_;
  bool first_activation_ = true;
};
