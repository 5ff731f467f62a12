#pragma once
// TRef_H_Sys: the settings of the donation and sales program, the one row of
// sys_sys: how documents are printed (paper, logo, offsets), the layouts of
// the donation receipt and the sale document, the cash drawer's port, the
// skin and the four-character prefixes of document and donor numbers.
//
// A change in any control puts the row into edit by itself (automatic
// editing), but only "บันทึก", reached through "แก้ไข", posts it.
#include "app/core/SettingsRowWindow.h"

class TRef_H_Sys : public SettingsRowWindow {
 public:
  explicit TRef_H_Sys(TComponent* owner);

  TDBRadioGroup* DBRadioGroup1;  // PRN_PREVIEW
  TDBRadioGroup* DBRadioGroup4;  // VIEW6
  TDBRadioGroup* DBRadioGroup6;  // VIEW7
  TDBRadioGroup* DBRadioGroup5;  // PRN_LOGO
  TDBEdit* DBEdit4;              // COM_PORT
  TDBEdit* DBEdit9;              // PREFIX5
  TDBEdit* DBEdit10;             // PREFIX6
  TDBEdit* DBEdit1;              // PREFIX7
  TDBEdit* DBEdit5;              // PREFIX_DONATE
};
