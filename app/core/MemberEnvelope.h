#pragma once
// The address envelope of a member or donor: "กรุณาส่ง" with the party's
// name and address, and the temple's name and address (the tresksys row) as
// the sender, on a page of the layout's size with 10 mm margins. The report
// has no dataset: its one band is filled from the row the list stands on
// when it prints.
#include <string>

#include "app/core/DocumentAddress.h"
#include "engine/access/Table.h"
#include "platform/report/QuickRpt.h"

inline constexpr const char* kEnvelopeTo = "กรุณาส่ง";

// The paper and the party's columns: `column_prefix` + "_name", "_add1",
// "_add2", "_add4" and "_zip".
struct EnvelopeLayout {
  double paper_width;   // mm
  double paper_length;  // mm
  int addressee_top;    // pixels at 96 per inch, below the sender block
  const char* column_prefix;
};

inline constexpr EnvelopeLayout kMemberEnvelope{210, 297, 300, "mem"};

class TMemberEnvelope : public TComponent {
 public:
  // `members` is the register's list; `alias` the window's connection, on
  // which the sender row is read when the envelope prints.
  TMemberEnvelope(TComponent* owner, TDataSet& members, const std::string& alias,
                  const EnvelopeLayout& layout = kMemberEnvelope);

  TQuickRep* QuickRep1;
  TQRBand* TitleBand1;
  TQRLabel* QRLabel1;   // "กรุณาส่ง"
  TQRLabel* QRLabel14;  // the party's name
  TQRLabel* QRLabel3;   // address line 1
  TQRLabel* QRLabel4;   // address line 2
  TQRLabel* QRLabel5;   // province and zip
  TQRLabel* QRLabel6;   // sender name
  TQRLabel* QRLabel7;   // sender address

  void TitleBand1BeforePrint(TQRBand* sender, bool& print_band);

 private:
  TQRLabel* Line(const char* name, int left, int top);

  TDataSet& members_;
  std::string column_prefix_;
  TVTRTable* office_;
};
