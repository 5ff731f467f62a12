#pragma once
// TRef_Donate: the catalogue of donation purposes (m_donate) that the
// donation window offers as its lines and the donation reports select by.
// The user types the number (at most five characters); a number that another
// purpose holds is refused when adding and when an edit changes it, so that
// no two purposes share a key. Every save writes the purpose's constants:
// type "2", quantity and cost 0, and no second to fifth price.
#include <string>

#include "app/core/RegisterWindow.h"
#include "app/core/SqlWindowQuery.h"
#include "platform/ui/CheckBox.h"

inline constexpr const char* kPurposeRegisterCaption = " ทะเบียนวัตถุประสงค์การบริจาค";
inline constexpr const char* kPurposeIncomplete = "ข้อมูลไม่ครบ ....";
inline constexpr const char* kPurposeNotFound = "ไม่พบรายการที่ค้นหา...";

class TRef_Donate : public RegisterWindow {
 public:
  explicit TRef_Donate(TComponent* owner);

  TEdit* Edit2;  // accessory_no
  TEdit* Edit3;  // accessory_name
  TEdit* Edit4;  // accessory_unit
  TEdit* Edit5;  // zone
  TEdit* Edit6;  // price_1
  TCheckBox* CheckBox1;  // cut_stock: "Y" ticked, "N" not
  TEdit* Edit11;         // fg_vat, hidden

  void SpeedButton4Click(TObject* sender);

 protected:
  void AddDefaults() override;
  void LoadRow() override;
  RowValues BoxValues() const override;
  bool EntryAccepted() override;

 private:
  SqlWindowQuery query1_;
};
