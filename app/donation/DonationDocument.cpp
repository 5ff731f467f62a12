#include "app/donation/DonationDocument.h"

#include "app/core/BahtText.h"
#include "app/core/ColumnSum.h"
#include "app/core/DocumentItems.h"
#include "app/core/DocumentPage.h"
#include "app/core/SqlWindowQuery.h"
#include "app/core/WindowParts.h"
#include "app/core/myVar.h"
#include "engine/access/Database.h"
#include "platform/db/DB.h"
#include "platform/rtl/NumberText.h"

namespace {

const std::vector<std::string> kOfficeStatement{"select * from tresksys"};

}  // namespace

TDonationDocument::TDonationDocument(TComponent* owner, const WindowQueryFactory& make_query,
                                     const DocumentSource& source)
    : TForm(owner),
      header_query_(make_query(*this, std::string(source.alias))),
      lines_query_(make_query(*this, std::string(source.alias))),
      office_query_(make_query(*this, std::string(source.alias))),
      Database1(MakeWindowDatabase(*this, "Database1", std::string(source.alias))),
      Query1(*header_query_),
      Query2(*lines_query_),
      QueryOf(*office_query_),
      QuickRep1(new TQuickRep(this)),
      source_(source) {
  QuickRep1->SetName("QuickRep1");
  QuickRep1->SetPrintIfEmpty(true);
  QuickRep1->AfterPreview = Bind(this, &TDonationDocument::QuickRepAfterPreview);
}

TDonationDocument::~TDonationDocument() = default;

void TDonationDocument::Preview() {
  QuickRep1->Preview();
}

void TDonationDocument::QuickRepAfterPreview(TObject*) {
  for (WindowQuery* query : {&Query1, &Query2, &QueryOf}) query->Rows().Close();
  Database1.Close();
  Release();
}

void TDonationDocument::ReadDonation() {
  // The kind is a number; another text stops the document here.
  StrToInt(myVar.PrintDocKind);
  const std::string header_statement =
      "select * from " + std::string(source_.header_table) + " where Bill_No = :mInv_No ";
  const std::string lines_statement =
      " select * from " + std::string(source_.line_table) + " where Bill_No = :mBill_No ";
  Query1.Open({{header_statement}, {{"mInv_No", Variant(myVar.PrintBillNo)}}});
  Query2.Open({{lines_statement}, {{"mBill_No", Variant(Column(Query1, "bill_no"))}}});
  total_ = SumColumn(Query2.Rows(), "TOTAL");
  Query2.Rows().First();
  QueryOf.Open({kOfficeStatement, {}});
  TDataSet& office = QueryOf.Rows();
  const bool found = !office.IsEmpty();
  SetUpDocumentPage(QuickRep1->Page(), found ? office.FieldByName("PRN_TOP")->AsFloat() : 0,
                    found ? office.FieldByName("PRN_LEFT")->AsFloat() : 0);
}

std::string TDonationDocument::AmountFigures() const {
  return total_.Format(kDocumentMoneyMask);
}

std::string TDonationDocument::AmountWords() const {
  return "< " + BahtToText(total_.Format("#######0.00")) + " >";
}

std::string TDonationDocument::Column(WindowQuery& query, std::string_view column) {
  TDataSet& rows = query.Rows();
  return rows.Active() && !rows.IsEmpty() ? rows.FieldByName(column)->AsString() : std::string();
}

TQRBand* TDonationDocument::MakeBand(const char* name, TQRBandType type, int height) {
  return MakeDocumentBand(*QuickRep1, name, type, height);
}

TQRLabel* TDonationDocument::MakeLabel(TQRBand* band, const char* name, std::string caption, int left, int top) {
  return MakeDocumentLabel(band, name, std::move(caption), left, top);
}

TQRShape* TDonationDocument::MakeRule(TQRBand* band, const char* name, int left, int top, int width) {
  return MakeDocumentRule(band, name, left, top, width);
}

TQRDBText* TDonationDocument::LineField(TQRBand* band, const char* name, const char* field, const char* mask,
                                        int left, int width) {
  auto* text = new TQRDBText(band);
  text->SetName(name);
  text->SetDataSet(&Query2.Rows());
  text->SetDataField(field);
  text->SetMask(mask);
  text->SetLeft(left);
  text->SetTop(2);
  if (*mask != '\0') {
    text->SetAutoSize(false);
    text->SetWidth(width);
    text->SetAlignment(taRightJustify);
  }
  return text;
}
