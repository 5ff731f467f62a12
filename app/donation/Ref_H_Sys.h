#pragma once
// TRef_H_Sys: the settings of the donation and sales program, the one row of
// sys_sys, edited through data-bound controls on a table component: how
// documents are printed (paper, logo, offsets), the layouts of the donation
// receipt and the sale document, the cash drawer's port, the skin and the
// four-character prefixes of document and donor numbers.
//
// A change in any control puts the row into edit by itself (automatic
// editing), but only "บันทึก", reached through "แก้ไข", posts it. A prefix of
// other than four characters is refused, as every new number of its kind would
// otherwise ask for a first number. Closing drops a change that was not
// posted and reminds the user that the program reads the settings at start.
#include <string>
#include <vector>

#include "engine/access/Database.h"
#include "engine/access/Table.h"
#include "platform/db/DataSource.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/DBRadioGroup.h"
#include "platform/ui/Form.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Panel.h"

inline constexpr const char* kShortPrefix = "รหัสนำหน้าใบรับ / ใบคืน ไม่ครบ 4 หลัก...";
inline constexpr const char* kRestartToApply = "ต้องปิดโปรแกรมนี้ก่อน เมื่อเปิดขึ้นมาใหม่ค่าที่แก้ไขจึงจะมีผล...";

class TRef_H_Sys : public TForm {
 public:
  explicit TRef_H_Sys(TComponent* owner);

  TVTRDatabase& Database1;
  TVTRTable* Table4;
  TDataSource* DataSource4;
  TPanel* Panel1;
  TSpeedButton* SpeedButton1;   // add, hidden
  TSpeedButton* SpeedButton3;   // edit
  TSpeedButton* SpeedButton4;   // delete, hidden
  TSpeedButton* SpeedButton11;  // refresh
  TSpeedButton* SpeedButton6;   // cancel
  TSpeedButton* SpeedButton8;   // save
  TSpeedButton* SpeedButton2;   // quit
  TDBNavigator* DBNavigator1;   // hidden
  TPageControl* PageControl1;
  TTabSheet* System;

  TDBRadioGroup* DBRadioGroup1;  // PRN_PREVIEW
  TDBRadioGroup* DBRadioGroup4;  // VIEW6
  TDBRadioGroup* DBRadioGroup6;  // VIEW7
  TDBRadioGroup* DBRadioGroup5;  // PRN_LOGO
  TDBRadioGroup* DBRadioGroup8;  // SKIN
  TDBEdit* DBEdit2;              // PRN_TOP
  TDBEdit* DBEdit3;              // PRN_LEFT
  TDBEdit* DBEdit4;              // COM_PORT
  TDBEdit* DBEdit9;              // PREFIX5
  TDBEdit* DBEdit10;             // PREFIX6
  TDBEdit* DBEdit1;              // PREFIX7
  TDBEdit* DBEdit5;              // PREFIX_DONATE

  int SetupPending = 0;

  void FormCreate(TObject* sender);
  void FormActivate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void SpeedButton3Click(TObject* sender);
  void SpeedButton8Click(TObject* sender);
  void SpeedButton6Click(TObject* sender);
  void SpeedButton11Click(TObject* sender);
  void SpeedButton2Click(TObject* sender);
  void DBEdit2KeyPress(TObject* sender, char32_t& key);

 private:
  TSpeedButton* BarButton(const char* caption, TNotifyEvent on_click);
  TDBRadioGroup* SettingGroup(const char* name, const char* caption, const char* column,
                              const std::vector<std::string>& items, int left, int top, int width, int height);
  TDBEdit* SettingBox(const char* name, const char* caption, const char* column, int max_length, int left, int top,
                      int label_width);
  TDBEdit* PrefixBox(TWinControl& group, const char* name, const char* caption, const char* column, int top);
  // The buttons while browsing (`editing` false) or while the row is edited.
  void ShowButtons(bool editing);
  // Every prefix box holds four characters after trimming.
  bool PrefixesComplete() const;
};
