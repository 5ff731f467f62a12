#pragma once
// The base of the printed documents of a donation (receipts and
// certificates) and of a goods sale (delivery notes and receipts): a report
// window that is never shown, with its own connection, that reads the
// document named by myVar.PrintBillNo itself just before the report is
// generated (Query1 the header, Query2 the lines, QueryOf the organisation
// record), and frees itself when its preview closes. Printing from the preview
// generates the report again, so every print reads the document afresh.
#include <memory>
#include <string>
#include <string_view>

#include "app/core/Currency.h"
#include "app/core/WindowQuery.h"
#include "platform/report/QuickRpt.h"
#include "platform/ui/Form.h"

class TVTRDatabase;

inline constexpr std::string_view kDonationDocumentAlias = "d_4s";
inline constexpr std::string_view kDocumentMoneyMask = "##,###,##0.00";
// The masks of a printed line's quantity, price and amount.
inline constexpr const char* kLineQuantityMask = "###,###,##0.00";
inline constexpr const char* kLinePriceMask = "##,###,##0.00";
inline constexpr const char* kLineAmountMask = "###,###,##0.00";

// Paper of 8.5 by 5.5 inches, and A4.
inline constexpr double kHalfLetterWidth = 215.9;
inline constexpr double kHalfLetterLength = 139.7;

// Where a document is read from: the connection's alias and the tables of the
// header and of the lines.
struct DocumentSource {
  std::string_view alias;
  std::string_view header_table;
  std::string_view line_table;
};

inline constexpr DocumentSource kDonationSource{kDonationDocumentAlias, "g_donate_2", "donate"};

class TDonationDocument : public TForm {
  // First, as the references below are made from them.
  std::unique_ptr<WindowQuery> header_query_;
  std::unique_ptr<WindowQuery> lines_query_;
  std::unique_ptr<WindowQuery> office_query_;

 public:
  ~TDonationDocument() override;

  // Shows the report's preview.
  void Preview();

  TVTRDatabase& Database1;
  WindowQuery& Query1;
  WindowQuery& Query2;
  WindowQuery& QueryOf;
  TQuickRep* QuickRep1;

  void QuickRepAfterPreview(TObject* sender);

 protected:
  TDonationDocument(TComponent* owner, const WindowQueryFactory& make_query,
                    const DocumentSource& source = kDonationSource);

  // The common steps before print: the donation and its lines read, the
  // total of the lines, the organisation record and the page margins.
  void ReadDonation();
  // A column of the donation header, the organisation record or the current
  // line; empty when there is no row.
  static std::string Column(WindowQuery& query, std::string_view column);
  Currency Total() const { return total_; }
  // The total in figures ("1,250.50") and in Thai words between "< " and
  // " >", both of the same rounded total.
  std::string AmountFigures() const;
  std::string AmountWords() const;

  // Makes a page-wide band of the report.
  TQRBand* MakeBand(const char* name, TQRBandType type, int height);
  TQRLabel* MakeLabel(TQRBand* band, const char* name, std::string caption, int left, int top);
  TQRShape* MakeRule(TQRBand* band, const char* name, int left, int top, int width);
  // A field of the current line; with a mask it is `width` wide and right-aligned.
  TQRDBText* LineField(TQRBand* band, const char* name, const char* field, const char* mask, int left, int width);

 private:
  DocumentSource source_;
  Currency total_;
};
