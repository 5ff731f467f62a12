#pragma once
// The donation receipt: the organisation, the title, number and date, the
// donor, one line per donated purpose with quantity, unit, price and amount,
// the total, and the signature captions. TPrnDonate4s prints it on half-letter
// paper, TPrnDonate8 on A4; they differ only in what ReceiptPaper holds.
#include <string>

#include "app/donation/DonationDocument.h"

// What the two receipt layouts do not share.
struct ReceiptPaper {
  TQRPaperSize size;
  double width;
  double length;
  const char* date_label;         // the date's item
  const char* tick_items[6];      // cash and cheque boxes, captions, rules
  int organisation_left_with_logo;
  int organisation_left_without_logo;
  TAlignment title_alignment;
};

class TPrnDonate : public TDonationDocument {
 public:
  TQRBand* PageHeaderBand1;
  TQRBand* QRBand2;  // detail: one per line
  TQRBand* PageFooterBand1;

  TQRImage* QRImage1;
  TQRLabel* QRLabel20;  // organisation name
  TQRLabel* QRLabel21;  // organisation address
  TQRLabel* QRLabel18;  // contact line
  TQRLabel* QRLabel1;   // title
  TQRLabel* QRLabel2;
  TQRLabel* QRLabel57;  // number
  TQRLabel* QRLabel3;
  TQRLabel* DateLabel;  // QRLabel16, on A4 QRLabel11
  TQRLabel* QRLabel4;
  TQRLabel* QRLabel14;  // donor
  TQRLabel* QRLabel5;
  TQRLabel* QRLabel13;  // donor's address
  TQRLabel* QRLabel7;
  TQRLabel* QRLabel8;
  TQRLabel* QRLabel6;
  TQRLabel* QRLabel9;
  TQRLabel* QRLabel10;
  TQRLabel* QRLabel12;
  TQRShape* QRShape1;
  TQRShape* QRShape9;
  TQRShape* QRShape10;

  TQRSysData* QRSysData1;
  TQRDBText* QRDBText5;  // QTY
  TQRDBText* QRDBText1;  // UNIT_NAME
  TQRLabel* QRLabel17;   // purpose and serial
  TQRDBText* QRDBText4;  // PRICE
  TQRDBText* QRDBText7;  // TOTAL

  TQRLabel* QRLabel19;
  TQRLabel* QRLabel53;  // total
  TQRLabel* QRLabel24;
  TQRLabel* QRLabel25;
  TQRShape* QRShape15;
  TQRShape* QRShape5;
  TQRShape* QRShape8;
  TQRShape* QRShape6;

  void PrnDOBeforePrint(TQuickRep* sender, bool& print_report);
  void QRBand2BeforePrint(TQRBand* sender, bool& print_band);

 protected:
  TPrnDonate(TComponent* owner, const WindowQueryFactory& make_query, const ReceiptPaper& paper);

 private:
  void BuildPageHeader();
  void BuildDetail();
  void BuildPageFooter();

  const ReceiptPaper& paper_;
};

class TPrnDonate4s : public TPrnDonate {
 public:
  explicit TPrnDonate4s(TComponent* owner);
  TPrnDonate4s(TComponent* owner, const WindowQueryFactory& make_query);
};

class TPrnDonate8 : public TPrnDonate {
 public:
  explicit TPrnDonate8(TComponent* owner);
  TPrnDonate8(TComponent* owner, const WindowQueryFactory& make_query);
};
