#pragma once
// The address envelope of a member: "กรุณาส่ง" with the member's name and
// address, and the temple's name and address (the tresksys row) as the
// sender, on a page of 210 × 297 mm with 10 mm margins. The report has no
// dataset: its one band is filled from the member row the list stands on
// when it prints.
#include <string>

#include "app/core/DocumentAddress.h"
#include "engine/access/Table.h"
#include "platform/report/QuickRpt.h"

inline constexpr const char* kEnvelopeTo = "กรุณาส่ง";

class TMemberEnvelope : public TComponent {
 public:
  // `members` is the register's list; `alias` the window's connection, on
  // which the sender row is read when the envelope prints.
  TMemberEnvelope(TComponent* owner, TDataSet& members, const std::string& alias);

  TQuickRep* QuickRep1;
  TQRBand* TitleBand1;
  TQRLabel* QRLabel1;   // "กรุณาส่ง"
  TQRLabel* QRLabel14;  // member name
  TQRLabel* QRLabel3;   // mem_add1
  TQRLabel* QRLabel4;   // mem_add2
  TQRLabel* QRLabel5;   // mem_add4 and mem_zip
  TQRLabel* QRLabel6;   // sender name
  TQRLabel* QRLabel7;   // sender address

  void TitleBand1BeforePrint(TQRBand* sender, bool& print_band);

 private:
  TQRLabel* Line(const char* name, int left, int top);

  TDataSet& members_;
  TVTRTable* office_;
};
