#pragma once
// TRef_Supply: the register of suppliers, from whom the temple buys goods.
// The main menu opens it to keep the register; the goods window in purchase
// mode opens it to pick a supplier, and on closing (quit button or close box)
// it writes the supplier it shows into that window (PickTarget), when
// SupplyPickCaller is "2".
//
// New suppliers are numbered by the program with eight digits (00000001,
// ...); past 99999999 the save is refused. When another user stored the same
// number first, the engine's refusal is shown, the window stays in "add" and
// the next save numbers again.
#include <string>

#include "app/donation/PartyRegister.h"

inline constexpr const char* kSupplierRegisterCaption = " ทะเบียนผู้ขาย";
inline constexpr const char* kNoSupplierNumber = "ไม่มีข้อมูลรหัส ... ";
inline constexpr const char* kSupplierNumbersUsedUp = "เลขที่ผู้ขายครบ 99999999 แล้ว  ไม่สามารถเพิ่มผู้ขายได้...";
inline constexpr const char* kNewSupplierNumber = "Tempxxxx";

class TRef_Supply : public PartyRegister {
 public:
  // `opener` is the window the picked supplier is written into (null: the menu).
  TRef_Supply(TComponent* owner, PickTarget* opener);

  TEdit* Edit2;  // cust_no, given by the program
  TEdit* Edit3;  // cust_name
  TEdit* Edit4;  // cust_add1
  TEdit* Edit5;  // cust_add2
  TEdit* Edit6;  // cust_add4 (province)
  TEdit* Edit7;  // cust_zip
  TEdit* Edit8;  // cust_tel
  TEdit* Edit9;  // cust_fax

  void FormActivate(TObject* sender);
  void SpeedButton3Click(TObject* sender);
  void Edit2KeyPress(TObject* sender, char32_t& key);

  // The next supplier number; raises ERunningNumberRefused past the last.
  std::string NextSupplierNo();

 protected:
  std::string NextNumber() override { return NextSupplierNo(); }
  std::string PickCaller() const override;
  void AddDefaults() override;

 private:
  TEdit* LabelledBox(const char* caption, int row, int max_length);
};
