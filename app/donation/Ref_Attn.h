#pragma once
// TRef_Attn: the short register of name titles (cust_prefix) that the donor
// register offers when a donor is added. One box, the title; the table gives
// each new title its key, by which edits and deletes find it. A title is
// stored inside the donor's name, so changing or deleting one changes no
// donor.
#include "app/core/RegisterWindow.h"
#include "app/core/SqlWindowQuery.h"
#include "platform/ui/DBGrid.h"

inline constexpr const char* kTitleRegisterCaption = "ตารางคำนำหน้าชื่อ";
inline constexpr const char* kTitleMissing = "ข้อมูลไม่ครบ ....";

class TRef_Attn : public RegisterWindow {
 public:
  explicit TRef_Attn(TComponent* owner);

  TEdit* Edit3;  // prefix_name
  TDBGrid* DBGrid4;
  TButton* Button8;  // save

  void Button8Click(TObject* sender);

 private:
  SqlWindowQuery query1_;
};
