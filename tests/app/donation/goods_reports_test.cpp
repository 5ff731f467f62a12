// The purchase, sale and souvenir reports: the line totals with VAT by each
// line's own rate, the net, the statements by kind and souvenir state, the
// customer look-up and the two printed layouts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/core/myVar.h"
#include "app/donation/rbuy_sale.h"
#include "app/donation/rsale_gift.h"
#include "tests/app/donation/support/DonationReportTest.h"

namespace {

using Texts = std::vector<std::string>;

std::vector<ArrayFieldDef> GoodsLineFields(bool with_party_name) {
  std::vector<ArrayFieldDef> fields{{"bill_no", ftString, 11}, {"bill_date", ftDate}, {"cust_no", ftString, 20}};
  if (with_party_name) fields.push_back({"cust_name", ftString, 100});
  for (ArrayFieldDef line : std::vector<ArrayFieldDef>{{"ACCESSORY_NAME", ftString, 45},
                                                        {"QTY", ftFloat},
                                                        {"PRICE", ftFloat},
                                                        {"DISC_RATE", ftFloat},
                                                        {"TAX_RATE", ftFloat},
                                                        {"TOTAL_1", ftFloat},
                                                        {"FG_GIFT", ftString, 1}})
    fields.push_back(line);
  return fields;
}

const TDateTime kDay = EncodeDate(2024, 3, 10);

std::vector<Variant> PartyLine(const char* bill, const char* party, const char* item, double total, double tax_rate) {
  return {bill, Variant::Date(kDay), "00000001", party, item, 1.0, total, 0.0, tax_rate, total, "0"};
}

using BuySaleReport = DonationReportTest;

TEST_F(BuySaleReport, EachLineCarriesItsOwnVatWhateverWindowWasOpenedBefore) {
  for (double program_tax_rate : {0.0, 7.0}) {
    SCOPED_TRACE(program_tax_rate);
    myVar.TaxRate = program_tax_rate;
    myVar.BuySaleReportKind = kPurchaseKind;
    auto& w = OpenServed<Trbuy_sale>({{GoodsLineFields(true), "bill_date"}});
    EXPECT_EQ(seen::Caption(w), "รายจ่าย");
    for (TButton* print : w.PrintButtons) EXPECT_FALSE(seen::Visible(*print));
    Served().served = {PartyLine("PURC0000001", "ร้านสังฆภัณฑ์", "พระพุทธรูป", 100, 7),
                       PartyLine("PURC0000001", "ร้านสังฆภัณฑ์", "ธูปเทียน", 50, 0),
                       PartyLine("PURC0000002", "ร้านดอกไม้", "ดอกไม้", 20, 0)};
    SetPeriod(w, kDay, kDay);
    user::Click(*w.RunButton);

    ASSERT_EQ(seen::RowCount(*w.DBGrid1), 3);
    EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 2), "ร้านสังฆภัณฑ์");
    EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 7), "107.00");
    EXPECT_EQ(seen::Cell(*w.DBGrid1, 1, 7), "50.00");
    EXPECT_EQ(seen::Text(w.Label8), "177.00");
    EXPECT_DOUBLE_EQ(myVar.ReportTotals[0], 170);
    EXPECT_DOUBLE_EQ(myVar.ReportTotals[3], 7);
    EXPECT_DOUBLE_EQ(myVar.ReportTotals[5], 177);
    for (TButton* print : w.PrintButtons) EXPECT_TRUE(seen::Visible(*print));

    user::Click(*w.PrintButtons.at(1));
    EXPECT_EQ(Printed("Document_bill_no"), (Texts{"PURC0000001", "PURC0000002"}));
    EXPECT_EQ(Printed("DocumentSum"), (Texts{"157.00", "20.00"}));
    EXPECT_TRUE(Printed("Line_accessory_name").empty());
    EXPECT_NE(Preview().Last().pages.at(0).FindText("รายจ่าย"), nullptr);

    user::Click(*w.PrintButtons.at(0));
    EXPECT_EQ(Printed("Line_total_vat"), (Texts{"107.00", "50.00", "20.00"}));
    EXPECT_EQ(Printed("DocumentSum"), (Texts{"157.00", "20.00"}));
    EXPECT_TRUE(Printed("Document_bill_no").empty()) << "the document sums alone";

    SetPeriod(w, kDay + 1, kDay + 1);
    user::Click(*w.RunButton);
    EXPECT_EQ(seen::Text(w.Label8), "0.00");
    for (TButton* print : w.PrintButtons) EXPECT_FALSE(seen::Visible(*print));
    w.Close();
    user::ProcessEvents();
  }
}

TEST_F(BuySaleReport, TheKindChosenBeforeOpeningSelectsPurchasesOrSales) {
  struct Case {
    const char* kind;
    const char* caption;
    const char* from;
  };
  for (const Case& c : {Case{kPurchaseKind, "รายจ่าย", "supply, instock "}, Case{kSaleKind, "รายรับ", "g_sale_2 , customer, outstock "}}) {
    SCOPED_TRACE(c.caption);
    myVar.BuySaleReportKind = c.kind;
    auto& w = OpenServed<Trbuy_sale>({{GoodsLineFields(true), "bill_date"}});
    myVar.BuySaleReportKind = "x";
    EXPECT_EQ(seen::Caption(w), c.caption);
    EXPECT_EQ(w.Left(), 10);
    EXPECT_EQ(w.Top(), 5);
    user::PickDay(*w.Picker1, 10);
    EXPECT_TRUE(Served().runs.empty()) << "only the run button runs";
    user::Click(*w.RunButton);
    const std::string& first_line = Served().runs.at(0).lines.at(0);
    EXPECT_EQ(first_line.substr(first_line.size() - std::string(c.from).size()), c.from);
    w.Close();
    user::ProcessEvents();
  }
}

using SouvenirReport = DonationReportTest;

TEST_F(SouvenirReport, TheChosenStateListsItsLinesWithTheirCustomersNames) {
  auto& w = OpenServed<Trsale_gift>(
      {{GoodsLineFields(false), "bill_date"}, {{{"cust_name", ftString, 100}}, "", {{"O'Neil Smith"}}}});
  EXPECT_EQ(seen::Caption(w), "  รายงานการจำหน่าย และการรับของที่ระลึก");
  Served().served = {{"SALE0000001", Variant::Date(kDay), "DONR000002", "พระเครื่อง", 1.0, 300.0, 0.0, 7.0, 300.0, "0"},
                     {"SALE0000001", Variant::Date(kDay), "DONR000002", "เหรียญ", 2.0, 50.0, 0.0, 0.0, 100.0, "0"}};
  SetPeriod(w, kDay, kDay);
  user::Click(*w.RunButton);

  const QueryStatement& run = Served().runs.at(0);
  EXPECT_EQ(run.lines.at(2), " and fg_gift = \"0\" ");
  EXPECT_EQ(run.lines.back(), " order by outstock.bill_no ");
  ASSERT_EQ(seen::RowCount(*w.DBGrid1), 2);
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 2), "O'Neil Smith");
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 7), "321.00");
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 8), kGiftNotReceived);
  EXPECT_EQ(seen::Text(w.Label8), "421.00");
  Texts looked_up;
  for (const QueryStatement& lookup : Served(1).runs)
    looked_up.push_back(ServedQuery::Parameter(lookup, "mcust_no")->AsString());
  EXPECT_NE(std::find(looked_up.begin(), looked_up.end(), "DONR000002"), looked_up.end())
      << "the name is looked up by the line's customer number";

  user::Click(*w.PrintButtons.at(0));
  EXPECT_EQ(Printed("Line_mfg_gift"), (Texts{kGiftNotReceived, kGiftNotReceived}));
  user::Click(*w.PrintButtons.at(1));
  EXPECT_EQ(Printed("DocumentCaption_mcust_name"), Texts{"ฆราวาส"});
  EXPECT_EQ(Printed("Document_mcust_name"), Texts{"O'Neil Smith"});

  const size_t runs = Served().runs.size();
  user::ClickItem(*w.RadioGroup1, 1);
  EXPECT_EQ(Served().runs.size(), runs) << "the choice waits for the run";
  user::PickDay(*w.Picker2, 10);
  EXPECT_EQ(Served().runs.back().lines.at(2), " and fg_gift = \"1\" ");
}

}  // namespace
