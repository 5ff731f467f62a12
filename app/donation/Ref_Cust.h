#pragma once
// TRef_Cust: the register of donors, who are also the customers of the goods
// sales. The main menu opens it to keep the register; the donation and goods
// windows open it to pick a donor, and on closing (quit button or close box)
// it writes the donor it shows into the window that opened it (PickTarget).
//
// New donors are numbered by the program: the four-character donor prefix of
// the settings and a six-digit running number (ABCD000001, ...). The save
// refuses a number when the prefix is not four characters or the running
// numbers are used up; when another user stored the same number first, the
// engine's refusal is shown, the window stays in "add" and the next save
// numbers again.
#include <string>

#include "app/core/MemberEnvelope.h"
#include "app/donation/DonorSearchPage.h"
#include "app/donation/PartyRegister.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/Memo.h"

inline constexpr const char* kDonorRegisterCaption = " ทะเบียนผู้บริจาค - ผู้ใช้บริการ";
inline constexpr const char* kNoDonorNumber = "ไม่มีข้อมูลรหัส ... ";
inline constexpr const char* kDonorPrefixIncomplete = "รหัสนำหน้าใบรับ / ใบคืน ไม่ครบ 4 หลัก...";
inline constexpr const char* kDonorNumbersUsedUp =
    "เลขที่ผู้บริจาคของรหัสนำหน้านี้ครบ 999999 แล้ว  ไม่สามารถเพิ่มผู้บริจาคได้...";
inline constexpr const char* kNewDonorNumber = "Tempxxxx";
inline constexpr const char* kDonorExportFile = "ทะเบียนรายชื่อผู้บริจาค.csv";
inline constexpr EnvelopeLayout kDonorEnvelope{210.1, 110.9, 150, "cust"};

class TRef_Cust : public PartyRegister {
 public:
  // `opener` is the window the picked donor is written into (null: the menu).
  TRef_Cust(TComponent* owner, PickTarget* opener);

  TEdit* Edit2;   // cust_no, given by the program
  TLabel* Label17;
  TComboBox* ComboBox2;  // name titles, while adding
  TEdit* Edit3;          // cust_name
  TEdit* Edit4;          // cust_add1
  TEdit* Edit5;          // cust_add2
  TEdit* Edit6;          // cust_add4 (province)
  TEdit* Edit7;          // cust_zip
  TEdit* Edit11;         // country
  TEdit* Edit8;          // cust_tel
  TEdit* Edit9;          // cust_fax
  TEdit* Edit12;         // cust_birth, as typed
  TMemo* Memo1;          // cust_rem
  TSpeedButton* SpeedButton9;  // envelope
  TButton* Button7;            // export
  TDonorSearchPage* TabSheet2;
  TMemberEnvelope* Envelope;

  std::string DonorNumberPrefix;

  void FormActivate(TObject* sender);
  void ComboBox2Click(TObject* sender);
  void SpeedButton9Click(TObject* sender);
  void Button7Click(TObject* sender);
  void BitBtn1Click(TObject* sender);
  void Button1Click(TObject* sender);
  void Button2Click(TObject* sender);

  // The next donor number of DonorNumberPrefix; raises ERunningNumberRefused.
  std::string NextCustomerNo();

 protected:
  std::string NextNumber() override { return NextCustomerNo(); }
  std::string PickCaller() const override;
  void AddDefaults() override;
  void FillLookups() override;
  void LoadRow() override;
  RowValues BoxValues() const override;
  void SetBoxesReadOnly(bool read_only) override;

 private:
  TEdit* LabelledBox(const char* caption, int row, int max_length);
  void LeaveSearch();
};
