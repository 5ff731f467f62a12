// The printed lists of the donation program: the donor register.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/donation/Rep_Cust.h"
#include "tests/app/donation/support/DonationReportTest.h"

namespace {

using Texts = std::vector<std::string>;

using DonorList = DonationReportTest;

TEST_F(DonorList, AnEmptyRegisterStillPrintsItsHeaders) {
  auto& w = Open<TRep_Cust>();
  EXPECT_EQ(seen::Caption(w), " รายงานทะเบียนฆราวาส");
  EXPECT_EQ(w.Left(), 70);
  EXPECT_EQ(w.Top(), 15);
  user::Click(*w.PrintButtons.at(0));
  const TQRPrintedPage& page = Preview().Last().pages.at(0);
  for (const char* text : {"รายงานทะเบียนฆราวาส", "ที่", "รหัส", "ชื่อ", "แฟกซ์", "โทร."})
    EXPECT_NE(page.FindText(text), nullptr) << text;
  EXPECT_TRUE(Printed("Line_CUST_NO").empty());
}

TEST_F(DonorList, TheRegisterPrintsByNumberOrByNameWhenAsked) {
  const std::vector<TableRow> rows{
      {"customer", {{"cust_no", "DONR000002"}, {"cust_name", "ข นามสอง"}, {"cust_tel", "0812345678"}}},
      {"customer", {{"cust_no", "DONR000001"}, {"cust_name", "ค นามหนึ่ง"}, {"cust_fax", "021112222"}}},
      {"customer", {{"cust_no", "DONR000003"}, {"cust_name", "ก นามสาม"}}}};
  AppendRows(database_file_, rows);
  auto& w = Open<TRep_Cust>();
  user::Click(*w.PrintButtons.at(0));
  EXPECT_EQ(Printed("Line_CUST_NO"), (Texts{"DONR000001", "DONR000002", "DONR000003"}));
  EXPECT_EQ(Printed("Line_number"), (Texts{"1", "2", "3"}));
  EXPECT_EQ(Printed("Line_CUST_FAX"), (Texts{"021112222", "", ""}));
  EXPECT_EQ(Printed("Line_CUST_TEL"), (Texts{"", "0812345678", ""}));

  const size_t previews = Preview().Previews().size();
  user::ClickItem(*w.RadioGroup1, 1);
  EXPECT_EQ(Preview().Previews().size(), previews) << "the order alone prints nothing";
  user::Click(*w.PrintButtons.at(0));
  EXPECT_EQ(Printed("Line_CUST_NAME"), (Texts{"ก นามสาม", "ข นามสอง", "ค นามหนึ่ง"}));
}

}  // namespace
