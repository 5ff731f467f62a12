#pragma once
// SettingsRowWindow: the base of the programs' settings windows, which edit the
// one row of sys_sys through data-bound controls on a table component (alias
// "d_h_sys"). "แก้ไข" puts the row into edit, "บันทึก" posts it, "ยกเลิก"
// gives it up and "Refresh" reloads it from the file. A prefix box of other
// than four characters is refused, as every new number of its kind would
// otherwise ask for a first number. Closing drops a change that was not
// posted, releasing the row, and reminds the user that the programs read the
// settings at start.
//
// The windows build their own controls with the builders below on the page
// `System`, and set DBRadioGroup8 (the skin) and the offset boxes.
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

class SettingsRowWindow : public TForm {
 public:
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

  TDBRadioGroup* DBRadioGroup8 = nullptr;  // SKIN
  TDBEdit* DBEdit2 = nullptr;              // PRN_TOP
  TDBEdit* DBEdit3 = nullptr;              // PRN_LEFT

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

 protected:
  // `auto_edit`: a change in a bound control puts the row into edit by itself.
  SettingsRowWindow(TComponent* owner, bool auto_edit);

  // A radio group whose items store "0", "1", ... in `column`.
  TDBRadioGroup* SettingGroup(const char* name, const char* caption, const char* column,
                              const std::vector<std::string>& items, int left, int top, int width, int height);
  TDBEdit* SettingBox(const char* name, const char* caption, const char* column, int max_length, int left, int top,
                      int label_width);
  // A prefix box on `group` with its read-only sample of the rest of a number;
  // the save checks it.
  TDBEdit* PrefixBox(TWinControl& group, const char* name, const char* caption, const char* column, int top);
  // The two print offset boxes: Enter in the top one moves to the left one.
  void SetOffsetBoxes(TDBEdit* top, TDBEdit* left);

 private:
  TSpeedButton* BarButton(const char* caption, TNotifyEvent on_click);
  // The buttons while browsing (`editing` false) or while the row is edited.
  void ShowButtons(bool editing);
  // Every prefix box holds four characters after trimming.
  bool PrefixesComplete() const;

  std::vector<TDBEdit*> prefix_boxes_;
};
