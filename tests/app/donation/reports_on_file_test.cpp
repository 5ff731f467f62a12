// The donation program's reports running their statements on a real file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/core/myVar.h"
#include "app/donation/Find_Donate.h"
#include "app/donation/Rep_Donate.h"
#include "app/donation/Rep_Donate_Filter.h"
#include "app/donation/rbuy_sale.h"
#include "app/donation/rsale_gift.h"
#include "tests/app/donation/support/DonationReportTest.h"

namespace {

using Texts = std::vector<std::string>;

const TDateTime kDay = EncodeDate(2024, 3, 10);

TableRow DonationLine(const char* bill, const char* date, const char* donor, const char* purpose_no,
                      const char* purpose, const char* total) {
  return {"donate",
          {{"bill_no", bill},
           {"bill_date", date},
           {"cust_no", donor},
           {"accessory_no", purpose_no},
           {"accessory_name", purpose},
           {"qty", "1"},
           {"unit_name", "บาท"},
           {"price", total},
           {"total", total}}};
}

TableRow GoodsLine(const char* table, const char* bill, const char* item, const char* total, const char* tax_rate,
                   const char* gift = "0") {
  return {table,
          {{"bill_no", bill},
           {"bill_date", "10/03/2024"},
           {"cust_no", "ignored"},
           {"accessory_name", item},
           {"qty", "1"},
           {"price", total},
           {"tax_rate", tax_rate},
           {"total", total},
           {"fg_gift", gift}}};
}

class ReportsOnFile : public DonationReportTest {
 protected:
  void SetUp() override {
    DonationReportTest::SetUp();
    const std::vector<TableRow> rows{
        {"customer", {{"cust_no", "DONR000001"}, {"cust_name", "นายสมชาย ใจดี"}, {"cust_add4", "เชียงใหม่"}}},
        {"customer", {{"cust_no", "DONR000002"}, {"cust_name", "O'Neil Smith"}, {"country", "ไอร์แลนด์"}}},
        DonationLine("DONA0000001", "09/03/2024", "DONR000001", "001", "บำรุงวัด", "999"),
        DonationLine("DONA0000002", "10/03/2024", "DONR000001", "003", "สร้างศาลา", "300"),
        DonationLine("DONA0000002", "10/03/2024", "DONR000001", "001", "บำรุงวัด", "1000"),
        DonationLine("DONA0000003", "10/03/2024", "DONR000002", "001", "บำรุงวัด", "200.5"),
        // Its donor was deleted from the register.
        DonationLine("DONA0000004", "10/03/2024", "DONR000009", "004", "ศาลาธรรม", "40"),
    };
    AppendRows(database_file_, rows);
  }
};

TEST_F(ReportsOnFile, TheDonationReportListsADaysLinesOfRegisteredDonors) {
  auto& w = Open<TRep_Donate>();
  SetPeriod(w, kDay, kDay);
  user::Click(*w.RunButton);
  ASSERT_EQ(seen::RowCount(*w.DBGrid1), 3);
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 1), "10/03/2567");
  Texts donors;
  for (int row = 0; row < 3; ++row) donors.push_back(seen::Cell(*w.DBGrid1, row, 2));
  std::sort(donors.begin(), donors.end());
  EXPECT_EQ(donors, (Texts{"O'Neil Smith", "นายสมชาย ใจดี", "นายสมชาย ใจดี"}));
  EXPECT_EQ(seen::Text(w.Label8), "1,500.50");

  user::ClickItem(*w.RadioGroup1, 2);
  user::Click(*w.PrintButtons.at(1));
  EXPECT_EQ(Printed("Group_ACCESSORY_NAME"), (Texts{"บำรุงวัด", "สร้างศาลา"}));
  EXPECT_EQ(Printed("GroupSum"), (Texts{"1,200.50", "300.00"}));
}

TEST_F(ReportsOnFile, TheReportByPurposeFiltersByAPartOfThePurposeName) {
  auto& w = Open<TRep_Donate_Filter>();
  SetPeriod(w, kDay, kDay);
  user::ClickItem(*w.RadioGroup2, 1);
  user::Type("ศาลา");
  user::PressEnter();
  ASSERT_EQ(seen::RowCount(*w.DBGrid1), 2) << "the line of a deleted donor too";
  Texts purposes{seen::Cell(*w.DBGrid1, 0, 3), seen::Cell(*w.DBGrid1, 1, 3)};
  std::sort(purposes.begin(), purposes.end());
  EXPECT_EQ(purposes, (Texts{"ศาลาธรรม", "สร้างศาลา"}));
  EXPECT_EQ(seen::Text(w.Label8), "340.00");

  w.Edit1->Clear();
  user::Type("ศาลา'");
  user::PressEnter();
  EXPECT_EQ(seen::RowCount(*w.DBGrid1), 0) << "a quote is looked for, not an error";
  EXPECT_TRUE(Dialogs().Transcript().empty());
}

TEST_F(ReportsOnFile, TheDonorSearchFindsADonorByAPartOfANameWithAQuote) {
  auto& w = Open<TFind_Donate>();
  user::ClickItem(*w.RadioGroup2, 3);
  user::Type("O'Neil");
  user::Click(*w.RunButton);
  ASSERT_EQ(seen::RowCount(*w.DBGrid1), 1);
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 2), "O'Neil Smith");
  EXPECT_EQ(seen::Text(w.Label8), "200.50");

  user::ClickItem(*w.RadioGroup2, 0);
  w.Picker1->SetDate(kDay);
  user::Click(*w.RunButton);
  EXPECT_EQ(seen::RowCount(*w.DBGrid1), 3) << "the day's lines of registered donors";
}

TEST_F(ReportsOnFile, APurchaseShowsEachLinesVatAndOneSummaryLine) {
  const std::vector<TableRow> rows{
      {"supply", {{"cust_no", "00000001"}, {"cust_name", "ร้านสังฆภัณฑ์"}}},
      {"g_buy_2", {{"bill_no", "PURC0000001"}, {"bill_date", "10/03/2024"}, {"cust_no", "00000001"}}},
      GoodsLine("instock", "PURC0000001", "พระพุทธรูป", "100", "7"),
      GoodsLine("instock", "PURC0000001", "ธูปเทียน", "50", "0")};
  AppendRows(database_file_, rows);
  myVar.BuySaleReportKind = kPurchaseKind;
  auto& w = Open<Trbuy_sale>();
  SetPeriod(w, kDay, kDay);
  user::Click(*w.RunButton);
  ASSERT_EQ(seen::RowCount(*w.DBGrid1), 2);
  Texts with_vat{seen::Cell(*w.DBGrid1, 0, 7), seen::Cell(*w.DBGrid1, 1, 7)};
  std::sort(with_vat.begin(), with_vat.end());
  EXPECT_EQ(with_vat, (Texts{"107.00", "50.00"}));
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 2), "ร้านสังฆภัณฑ์");
  EXPECT_EQ(seen::Text(w.Label8), "157.00");
  user::Click(*w.PrintButtons.at(1));
  EXPECT_EQ(Printed("Document_bill_no"), Texts{"PURC0000001"});
  EXPECT_EQ(Printed("DocumentSum"), Texts{"157.00"});
}

TEST_F(ReportsOnFile, SouvenirsNotYetReceivedAreListedWithTheirCustomers) {
  const std::vector<TableRow> rows{
      {"g_sale_2", {{"bill_no", "SALE0000001"}, {"bill_date", "10/03/2024"}, {"cust_no", "DONR000002"}}},
      GoodsLine("outstock", "SALE0000001", "พระเครื่อง", "300", "0", "0"),
      GoodsLine("outstock", "SALE0000001", "เหรียญ", "100", "0", "1")};
  AppendRows(database_file_, rows);
  auto& w = Open<Trsale_gift>();
  SetPeriod(w, kDay, kDay);
  user::Click(*w.RunButton);
  ASSERT_EQ(seen::RowCount(*w.DBGrid1), 1);
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 2), "O'Neil Smith");
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 3), "พระเครื่อง");
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 8), kGiftNotReceived);
}

}  // namespace
