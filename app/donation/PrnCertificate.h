#pragma once
// The donation certificates of layouts 1 (half-letter paper) and 2 (A4,
// larger type): one page that thanks the donor, with the organisation, the
// donor, the first line's purpose, the amount in figures and in Thai words,
// the number and the date, a blessing and the signature captions. The two
// layouts run one procedure; CertificateLayout holds what differs.
#include <string>
#include <utility>
#include <vector>

#include "app/donation/DonationDocument.h"

struct CertificateLayout {
  TQRPaperSize size;
  double width;
  double length;
  int font_size;
  // Put in front of the number; layout 1 has the caption QRLabel2 "เลขที่" instead.
  const char* number_prefix;
  bool number_caption;
  // The blessing's lines: item name and text.
  std::vector<std::pair<const char*, const char*>> blessing;
  bool second_signature_rule;  // QRShape2
};

class TPrnCertificate : public TDonationDocument {
 public:
  TQRBand* TitleBand1;
  TQRBand* PageHeaderBand1;
  TQRImage* QRImage1;
  TQRLabel* QRLabel1;       // title
  TQRLabel* NumberCaption;  // QRLabel2 "เลขที่" of layout 1; null in layout 2
  TQRLabel* QRLabel57;      // number
  TQRLabel* QRLabel3;       // date
  TQRLabel* QRLabel15;
  TQRLabel* QRLabel20;  // organisation name
  TQRLabel* QRLabel21;  // organisation address
  TQRLabel* QRLabel16;  // donor
  TQRLabel* QRLabel18;  // purpose
  TQRLabel* QRLabel4;   // figures
  TQRLabel* QRLabel10;  // words
  TQRLabel* QRLabel7;
  TQRLabel* QRLabel8;
  TQRShape* QRShape1;
  TQRShape* QRShape10;

  void PrnDOBeforePrint(TQuickRep* sender, bool& print_report);

 protected:
  TPrnCertificate(TComponent* owner, const WindowQueryFactory& make_query, const CertificateLayout& layout);

 private:
  const CertificateLayout& layout_;
};

class TPrnCertificate1 : public TPrnCertificate {
 public:
  explicit TPrnCertificate1(TComponent* owner);
  TPrnCertificate1(TComponent* owner, const WindowQueryFactory& make_query);
};

class TPrnCertificate2 : public TPrnCertificate {
 public:
  explicit TPrnCertificate2(TComponent* owner);
  TPrnCertificate2(TComponent* owner, const WindowQueryFactory& make_query);
};
