#pragma once
// The usage voucher printout: the temple's header lines, the title, number and
// date, the member named on the voucher's header, one detail band per usage
// line (a metered line adds its readings in a second row), the grand total
// with VAT at the rate in force and the total in Thai words.
//
// Four forms: TrTemple_0 and TrTemple_land_0 print on letter paper,
// TrTemple_1 and TrTemple_land_1 on half-letter paper; the land forms read
// the member from g_member_land. The report window is never shown, reads the
// voucher named by myVar.PrintBillNo itself each time the report is generated
// (preview and print from the preview), and frees itself when its preview
// closes.
#include <memory>
#include <string>
#include <string_view>

#include "app/core/Currency.h"
#include "app/core/WindowQuery.h"
#include "platform/report/QuickRpt.h"
#include "platform/ui/Form.h"

class TVTRDatabase;

inline constexpr const char* kUsageVoucherCaption = " ใบใช้บริการ";

// What the letter and the half-letter layout do not share.
struct VoucherPaper {
  const char* alias;
  TQRPaperSize size;
  double width;
  double length;
  int header_height;
  int footer_height;
  // Letter paper captions its grand total.
  bool grand_total_caption;
};

class TrTemple : public TForm {
  // First, as the references below are made from them.
  std::unique_ptr<WindowQuery> header_query_;
  std::unique_ptr<WindowQuery> lines_query_;
  std::unique_ptr<WindowQuery> office_query_;
  std::unique_ptr<WindowQuery> member_query_;

 public:
  ~TrTemple() override;

  // Shows the report's preview.
  void Preview();

  TVTRDatabase& Database1;
  WindowQuery& Query1;  // the header
  WindowQuery& Query2;  // the lines, the report's data set
  WindowQuery& Query3;  // the temple's record
  WindowQuery& q_cust;  // the member named on the header
  TQuickRep* QuickRep1;

  TQRBand* DetailBand1;  // page header
  TQRBand* DetailBand2;  // one per line
  TQRBand* PageFooterBand1;

  TQRLabel* QRLabel35;  // title
  TQRLabel* QRLabel9;
  TQRDBText* QRDBText1;  // work_no
  TQRLabel* QRLabel8;
  TQRDBText* QRDBText4;  // work_date
  TQRImage* QRImage1;
  TQRLabel* QRLabel11;  // temple's name
  TQRLabel* QRLabel12;  // temple's address
  TQRLabel* QRLabel18;  // temple's contact line
  TQRLabel* QRLabel33;  // taxpayer line
  TQRLabel* QRLabel37;
  TQRDBText* QRDBText14;  // staff_no, never printed
  TQRShape* QRShape1;
  TQRLabel* QRLabel13;
  TQRLabel* QRLabel30;  // member's name
  TQRLabel* QRLabel29;
  TQRLabel* QRLabel38;  // member's number
  TQRLabel* QRLabel4;
  TQRLabel* QRLabel15;  // member's address
  TQRLabel* QRLabel28;  // member's contact line
  TQRLabel* QRLabel1;
  TQRLabel* QRLabel5;
  TQRLabel* QRLabel6;
  TQRLabel* QRLabel2;
  TQRLabel* QRLabel7;
  TQRLabel* QRLabel32;
  TQRLabel* QRLabel14;

  TQRSysData* QRSysData1;
  TQRDBText* QRDBText2;  // accessory_name
  TQRDBText* QRDBText3;  // qty
  TQRDBText* QRDBText9;  // unit
  TQRLabel* QRDBText5;   // the price without its sign
  TQRDBText* QRDBText12;  // disc_rate
  TQRLabel* QRDBText6;   // the amount without its sign
  TQRLabel* QRLabel10;   // meter readings

  TQRShape* QRShape2;
  TQRShape* QRShape8;
  TQRLabel* QRLabel27;  // the total in words
  TQRLabel* QRLabel21;  // letter paper only
  TQRLabel* QRLabel22;  // grand total
  TQRLabel* QRLabel23;
  TQRShape* QRShape4;
  TQRLabel* QRLabel3;
  TQRShape* QRShape5;

  void QrTemple_0BeforePrint(TQuickRep* sender, bool& print_report);
  void DetailBand1BeforePrint(TQRBand* sender, bool& print_band);
  void DetailBand2BeforePrint(TQRBand* sender, bool& print_band);
  void PageFooterBand1BeforePrint(TQRBand* sender, bool& print_band);
  void QuickRepAfterPreview(TObject* sender);

 protected:
  TrTemple(TComponent* owner, const WindowQueryFactory& make_query, const VoucherPaper& paper,
           std::string_view member_table);

 private:
  void BuildPageHeader();
  void BuildDetail();
  void BuildPageFooter();
  void ShowTemple();
  void ShowMember();
  static std::string Column(WindowQuery& query, std::string_view column);

  const VoucherPaper& paper_;
  const std::string member_table_;
  Currency grand_total_;
};

class TrTemple_0 : public TrTemple {
 public:
  explicit TrTemple_0(TComponent* owner);
  TrTemple_0(TComponent* owner, const WindowQueryFactory& make_query);
};

class TrTemple_1 : public TrTemple {
 public:
  explicit TrTemple_1(TComponent* owner);
  TrTemple_1(TComponent* owner, const WindowQueryFactory& make_query);
};

class TrTemple_land_0 : public TrTemple {
 public:
  explicit TrTemple_land_0(TComponent* owner);
  TrTemple_land_0(TComponent* owner, const WindowQueryFactory& make_query);
};

class TrTemple_land_1 : public TrTemple {
 public:
  explicit TrTemple_land_1(TComponent* owner);
  TrTemple_land_1(TComponent* owner, const WindowQueryFactory& make_query);
};

// Previews the voucher of myVar.PrintBillNo in the layout that `view` names
// ("0" letter, "1" half letter; any other value prints nothing), with the
// member of the land vouchers when `land`.
void PreviewUsageVoucher(std::string_view view, bool land);
