#pragma once
// The printed documents of a goods sale, read from g_sale_2 and outstock with
// the customer of the sale: a delivery note (myVar.PrintDocKind "0") or a
// receipt ("1"). TPrnDO4s prints on 8.5 by 5.5 inch paper with margins from
// the organisation record; TPrnDO8 on Letter with margins from sys_sys, and
// adds the amount in words and the item's serial number under the item.
#include "app/donation/DonationDocument.h"

class TPrnSaleDocument : public TDonationDocument {
  // First, as Query3 is made from it.
  std::unique_ptr<WindowQuery> customer_query_;

 public:
  WindowQuery& Query3;  // the customer

 protected:
  TPrnSaleDocument(TComponent* owner, const WindowQueryFactory& make_query, const DocumentSource& source);

  // The sale, its lines, its customer, the organisation and the page margins.
  void ReadSale();
  std::string Customer(const char* column) { return Column(Query3, column); }
  std::string Office(const char* column) { return Column(QueryOf, column); }
  // bill_date or due_date of the sale as Buddhist-era text; empty without a sale.
  std::string SaleDate(const char* column);
};

class TPrnDO4s : public TPrnSaleDocument {
 public:
  explicit TPrnDO4s(TComponent* owner);
  TPrnDO4s(TComponent* owner, const WindowQueryFactory& make_query);

  TQRBand* PageHeaderBand1;
  TQRBand* QRBand2;  // detail: one per line
  TQRBand* PageFooterBand1;

  TQRImage* QRImage1;
  TQRLabel* QRLabel20;  // organisation name
  TQRLabel* QRLabel21;  // organisation address
  TQRLabel* QRLabel18;  // contact line
  TQRLabel* QRLabel30;  // taxpayer number
  TQRLabel* QRLabel1;   // title
  TQRLabel* QRLabel2;
  TQRLabel* QRLabel57;  // number
  TQRLabel* QRLabel3;
  TQRLabel* BillDate;
  TQRLabel* QRLabel4;
  TQRLabel* QRLabel22;  // customer
  TQRLabel* QRLabel5;
  TQRLabel* QRLabel13;  // customer's address
  TQRLabel* QRLabel15;
  TQRDBText* CreditRate;
  TQRLabel* QRLabel16;
  TQRLabel* DueDate;
  TQRLabel* QRLabel7;
  TQRLabel* QRLabel8;
  TQRLabel* QRLabel6;
  TQRLabel* QRLabel9;
  TQRLabel* QRLabel10;
  TQRLabel* QRLabel11;
  TQRLabel* QRLabel12;
  TQRShape* QRShape10;
  TQRShape* QRShape1;
  TQRShape* QRShape3;

  TQRSysData* QRSysData1;
  TQRLabel* QRLabel17;  // item and serial

  TQRShape* QRShape8;
  TQRLabel* QRLabel19;
  TQRLabel* QRLabel53;  // grand total
  TQRShape* QRShape9;
  TQRShape* QRShape6;
  TQRShape* QRShape15;
  TQRShape* QRShape5;
  TQRLabel* QRLabel24;
  TQRLabel* QRLabel25;

  void PrnDOBeforePrint(TQuickRep* sender, bool& print_report);
  void QRBand2BeforePrint(TQRBand* sender, bool& print_band);
};

class TPrnDO8 : public TPrnSaleDocument {
  std::unique_ptr<WindowQuery> settings_query_;

 public:
  explicit TPrnDO8(TComponent* owner);
  TPrnDO8(TComponent* owner, const WindowQueryFactory& make_query);

  WindowQuery& Farmsys;  // sys_sys: the page margins

  TQRBand* PageHeaderBand1;
  TQRBand* QRBand2;  // detail: one per line
  TQRBand* PageFooterBand1;

  TQRImage* QRImage1;
  TQRLabel* QRLabel20;  // organisation name
  TQRLabel* QRLabel21;  // organisation address
  TQRLabel* QRLabel22;  // contact line
  TQRLabel* QRLabel1;   // title
  TQRLabel* QRLabel27;  // title in English
  TQRLabel* QRLabel30;  // taxpayer number
  TQRLabel* QRLabel2;
  TQRLabel* QRLabel57;  // number
  TQRLabel* QRLabel3;
  TQRLabel* BillDate;
  TQRLabel* QRLabel15;
  TQRLabel* QRLabel16;
  TQRLabel* DueDate;
  TQRLabel* QRLabel17;
  TQRLabel* QRLabel14;
  TQRLabel* QRLabel6;
  TQRLabel* QRLabel43;  // customer number
  TQRLabel* QRLabel4;
  TQRLabel* QRLabel42;  // customer
  TQRLabel* QRLabel5;
  TQRLabel* QRLabel13;  // customer's address
  TQRLabel* QRLabel18;  // customer's town, post code and phone
  TQRLabel* QRLabel7;
  TQRLabel* QRLabel8;
  TQRLabel* QRLabel37;
  TQRLabel* QRLabel9;
  TQRLabel* QRLabel10;
  TQRLabel* QRLabel11;
  TQRLabel* QRLabel12;
  TQRShape* QRShape10;
  TQRShape* QRShape3;
  TQRShape* QRShape4;
  TQRShape* QRShape7;

  TQRLabel* QRLabel40;  // serial number under the item

  TQRShape* QRShape6;
  TQRLabel* QRLabel28;
  TQRLabel* QRLabel56;  // sum
  TQRLabel* QRLabel19;
  TQRLabel* QRLabel53;  // grand total
  TQRLabel* QRLabel23;  // grand total in words
  TQRLabel* QRLabel48;
  TQRLabel* QRLabel32;
  TQRLabel* QRLabel33;
  TQRLabel* QRLabel39;
  TQRLabel* QRLabel34;
  TQRLabel* QRLabel35;
  TQRShape* QRShape15;
  TQRShape* QRShape5;
  TQRLabel* QRLabel24;
  TQRLabel* QRLabel25;

  void PrnDOBeforePrint(TQuickRep* sender, bool& print_report);
  void QRBand2BeforePrint(TQRBand* sender, bool& print_band);

 private:
  void BuildPageHeader();
  void BuildDetail();
  void BuildPageFooter();
};
