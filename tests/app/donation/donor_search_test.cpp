// The donor search: one criterion per run as a parameter of the statement,
// the criteria controls, the total and the printout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/donation/Find_Donate.h"
#include "tests/app/donation/support/DonationReportTest.h"

namespace {

using Texts = std::vector<std::string>;

const ServedShape kFoundLines{{{"BILL_NO", ftString, 11},
                               {"BILL_DATE", ftDate},
                               {"CUST_NAME", ftString, 100},
                               {"CUST_BIRTH", ftString, 10},
                               {"CUST_ADD4", ftString, 80},
                               {"COUNTRY", ftString, 50},
                               {"ACCESSORY_NAME", ftString, 80},
                               {"QTY", ftFloat},
                               {"UNIT_NAME", ftString, 10},
                               {"PRICE", ftFloat},
                               {"TOTAL", ftFloat}},
                              ""};

const TDateTime kDay = EncodeDate(2024, 3, 10);

using DonorSearch = DonationReportTest;

TEST_F(DonorSearch, EachCriterionIsOneConditionWithItsValueAsAParameter) {
  auto& w = OpenServed<TFind_Donate>({kFoundLines});
  EXPECT_EQ(seen::Caption(w), "รายงานการบริจาค");
  EXPECT_TRUE(w.PrintButtons.at(0)->Enabled()) << "an empty search prints an empty report";
  w.Picker1->SetDate(kDay);
  struct Case {
    int criterion;
    const char* typed;
    const char* condition;
    Variant value;
    const char* label;
  };
  for (const Case& c : {Case{1, "", " and customer.cust_birth = :mFind ", Variant("10/03/2567"), "ชื่อผู้บริจาค"},
                        Case{2, "O'Neil Smith", " and customer.cust_name = :mFind ", Variant("O'Neil Smith"),
                             "ชื่อผู้บริจาค"},
                        Case{3, "O'Neil", " and customer.cust_name like :mFind ", Variant("%O'Neil%"),
                             "ส่วนหนึ่งของชื่อ"},
                        Case{4, "เชียง", " and customer.cust_add4 like :mFind ", Variant("%เชียง%"),
                             "ส่วนหนึ่งของจังหวัด"},
                        Case{5, "", " and customer.country like :mFind ", Variant("%%"), "ส่วนหนึ่งของประเทศ"},
                        Case{0, "", " and donate.bill_date = :mFind ", Variant::Date(kDay), "ส่วนหนึ่งของประเทศ"}}) {
    SCOPED_TRACE(c.criterion);
    w.Edit1->SetText("left over");
    user::ClickItem(*w.RadioGroup2, c.criterion);
    EXPECT_EQ(seen::Text(*w.Edit1), "");
    EXPECT_EQ(seen::Text(*w.Label2), c.label);
    if (c.criterion <= 1) {
      EXPECT_TRUE(seen::HasFocus(*w.Picker1));
    } else {
      ASSERT_TRUE(seen::HasFocus(*w.Edit1));
      user::Type(c.typed);
      user::PressEnter();
      EXPECT_TRUE(seen::HasFocus(*w.RunButton)) << "Enter leads to the run button";
    }
    const size_t runs = Served().runs.size();
    user::Click(*w.RunButton);
    ASSERT_EQ(Served().runs.size(), runs + 1);
    const QueryStatement& run = Served().runs.back();
    EXPECT_EQ(run.lines, (Texts{" select donate.* , customer.cust_name, cust_add4, country, customer.cust_birth ",
                                " from donate, customer ", " where donate.cust_no = customer.cust_no ", c.condition,
                                " order by bill_date "}));
    ASSERT_EQ(run.parameters.size(), 1u);
    EXPECT_EQ(run.parameters[0].value.AsString(), c.value.AsString());
  }
}

TEST_F(DonorSearch, TheOrderWaitsForTheRunAndTheThirdSortsByDonorName) {
  auto& w = OpenServed<TFind_Donate>({kFoundLines});
  user::ClickItem(*w.RadioGroup1, 2);
  EXPECT_TRUE(Served().runs.empty());
  user::Click(*w.RunButton);
  EXPECT_EQ(Served().runs.at(0).lines.back(), " order by cust_name ");
  user::PickDay(*w.Picker1, 10);
  EXPECT_EQ(Served().runs.size(), 2u) << "picking a day runs";
}

TEST_F(DonorSearch, TheFoundLinesAreTotalledAndPrintedWithTheDonorsBirthDates) {
  auto& w = OpenServed<TFind_Donate>({kFoundLines});
  Served().served = {
      {"DONA0000002", Variant::Date(kDay), "O'Neil Smith", "01/02/2500", "", "ไอร์แลนด์", "บำรุงวัด", 1.0, "บาท", 100.0,
       100.0},
      {"DONA0000005", Variant::Date(kDay + 3), "O'Neil Smith", "01/02/2500", "", "ไอร์แลนด์", "ค่าน้ำค่าไฟ", 2.0, "บาท",
       25.25, 50.5}};
  user::Click(*w.RunButton);
  ASSERT_EQ(seen::RowCount(*w.DBGrid1), 2);
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 0), "10/03/2567");
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 1), "01/02/2500");
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 9), "ไอร์แลนด์");
  EXPECT_EQ(seen::Text(w.Label8), "150.50");

  user::Click(*w.PrintButtons.at(0));
  EXPECT_NE(Preview().Last().pages.at(0).FindText("รายงานการบริจาค"), nullptr);
  EXPECT_EQ(Printed("Line_cust_birth"), (Texts{"01/02/2500", "01/02/2500"}));
  EXPECT_EQ(Printed("Line_bill_date"), (Texts{"10/03/2567", "13/03/2567"}));
  EXPECT_EQ(Printed("Line_TOTAL"), (Texts{"100.00", "50.50"}));
  EXPECT_EQ(Printed("PageSum"), Texts{"150.50"});
}

}  // namespace
