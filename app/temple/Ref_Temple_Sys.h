#pragma once
// TRef_Temple_Sys: the settings of the temple program, the one row of
// sys_sys: how vouchers are printed (paper, logo, offsets), the layout of the
// hall and of the land vouchers, the cash drawer's port and the
// four-character prefixes of the land and the hall voucher numbers. The
// controls change nothing until "แก้ไข" puts the row into edit (no automatic
// editing). The voucher deposit layout, the kind of business, the skin, the
// religion, the contract rule and the contract prefix are bound but hidden.
#include "app/core/SettingsRowWindow.h"

class TRef_Temple_Sys : public SettingsRowWindow {
 public:
  explicit TRef_Temple_Sys(TComponent* owner);

  TPageControl* RefSheet;
  TDBRadioGroup* DBRadioGroup1;  // PRN_PREVIEW
  TDBRadioGroup* DBRadioGroup3;  // VIEW3, hall vouchers
  TDBRadioGroup* DBRadioGroup4;  // VIEW1, land vouchers
  TDBRadioGroup* DBRadioGroup5;  // PRN_LOGO
  TDBEdit* DBEdit4;              // COM_PORT
  TDBEdit* DBEdit8;              // PREFIX1, land vouchers
  TDBEdit* DBEdit6;              // PREFIX3, hall vouchers
  // Hidden.
  TDBRadioGroup* DBRadioGroup6;  // VIEW2
  TDBRadioGroup* DBRadioGroup7;  // TYPE_BUSINESS
  TDBRadioGroup* DBRadioGroup9;  // TYPE_BUSINESS2, religion
  TDBRadioGroup* DBRadioGroup2;  // TYPE_BUSINESS2, contract before use
  TDBEdit* DBEdit7;              // PREFIX9, contracts
};
