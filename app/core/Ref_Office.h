#pragma once
// TRef_Office: the temple's identity that every printout carries (name,
// address, telephone, fax, e-mail), the one row of tresksys. A register
// window with edit, cancel, save, refresh and quit only. The tax number is
// shown nowhere and written back as stored. The logo "mylogo.jpg" of the
// working folder is shown when it can be read; without it the picture
// stays empty and the window works as usual.
#include "app/core/RegisterWindow.h"
#include "engine/access/Table.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"

inline constexpr const char* kOfficeNoName = "ไม่มีข้อมูลรหัส ... ";

class TRef_Office : public RegisterWindow {
 public:
  explicit TRef_Office(TComponent* owner);

  TEdit* Edit1;  // of_name
  TEdit* Edit2;  // of_taxid, hidden
  TEdit* Edit3;  // of_add1
  TEdit* Edit4;  // of_add2
  TEdit* Edit5;  // of_add4
  TEdit* Edit6;  // of_zip
  TEdit* Edit7;  // of_tel
  TEdit* Edit8;  // of_fax
  TEdit* Edit9;  // of_email
  TImage* Image1;

  void FormActivate(TObject* sender);

 private:
  TEdit* LabelledBox(const char* caption, int top);
  void LoadLogo();
};
