#pragma once
// The donation certificate of layout 3, placed to fill the blanks of a
// pre-printed certificate paper (half-letter): series head and running
// number, donor and address, dedication, the amount in figures and in words,
// the staff member, and the date as day, Thai month name and Buddhist year.
#include <memory>
#include <string>

#include "app/donation/DonationDocument.h"

// The fixed caption at the foot of the paper.
inline constexpr std::string_view kCertificate3Caption = "ใบอนุโมทนาบัตร สำหรับกระดาษพิมพ์สำเร็จ";

class TPrnCertificate3 : public TDonationDocument {
  // First, as the reference below is made from it.
  std::unique_ptr<WindowQuery> staff_query_;

 public:
  explicit TPrnCertificate3(TComponent* owner);
  TPrnCertificate3(TComponent* owner, const WindowQueryFactory& make_query);
  ~TPrnCertificate3() override;

  WindowQuery& query_temp;  // the staff member's name
  TQRBand* TitleBand1;
  TQRBand* PageHeaderBand1;
  TQRLabel* QRLabel9;   // series head
  TQRLabel* QRLabel57;  // running number
  TQRLabel* QRLabel20;  // donor
  TQRLabel* QRLabel21;  // donor's address
  TQRLabel* QRLabel4;   // dedication
  TQRLabel* QRLabel2;   // figures
  TQRLabel* QRLabel1;   // words
  TQRLabel* QRLabel7;   // staff number and name
  TQRLabel* QRLabel8;   // day
  TQRLabel* QRLabel3;   // month name
  TQRLabel* QRLabel5;   // year
  TQRLabel* QRLabel6;   // fixed caption

  void PrnDOBeforePrint(TQuickRep* sender, bool& print_report);
  // The date of the donation as the certificate writes it (mbill_date).
  std::string mbill_date() const;

 private:
  std::string StaffName(const std::string& staff_no);
};
