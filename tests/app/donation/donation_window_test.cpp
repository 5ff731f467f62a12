// The donation window as a user works it: the donations of its series with
// their lines and total, a new donation numbered at its save, lines entered
// from the purpose catalogue, refusals that keep what the user entered, and
// the print buttons handing the donation to its printout. Reads come from rows
// the test serves; the writes run on the window's query component, whose
// statement and parameters the test reads.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/core/ThaiDateText.h"
#include "app/core/myVar.h"
#include "app/donation/cdonate.h"
#include "engine/access/Database.h"
#include "engine/access/Query.h"
#include "platform/db/DB.h"
#include "tests/app/core/support/MdiFrame.h"
#include "tests/app/core/support/TempleDatabaseTest.h"
#include "tests/app/donation/support/ServedTables.h"
#include "tests/engine/access/FakeSQLProcessor.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

namespace {

std::vector<TableRow> DonationTables() {
  return {
      {"sys_sys", {{"prefix5", "DN67"}, {"tax_rate", "7"}, {"prn_logo", "1"}, {"prn_preview", "0"},
                   {"view7", "2"}, {"prn_top", "10"}, {"prn_left", "5"}}},
      {"g_donate_2", {{"bill_no", "DN671000002"}, {"bill_date", "06/11/2024"}, {"cust_name", "นางมาลี ศรีสุข"}}},
      {"g_donate_2", {{"bill_no", "DN671000001"}, {"bill_date", "05/11/2024"}, {"cust_no", "C0001"},
                      {"cust_name", "นายสมชาย ใจดี"}, {"cust_add1", "12 ถนนพระราม 4"}, {"sale_no", "ST1"},
                      {"app_for", "บิดามารดา"}}},
      {"g_donate_2", {{"bill_no", "XX671000009"}, {"bill_date", "05/11/2024"}}},
      {"donate", {{"bill_id", "1"}, {"bill_no", "DN671000001"}, {"bill_date", "05/11/2024"},
                  {"accessory_no", "001"}, {"accessory_name", "บำรุงวัด"}, {"accessory_type", "1"},
                  {"qty", "1"}, {"unit_name", "บาท"}, {"price", "1000"}, {"total", "1000"}, {"sale_no", "ST1"}}},
      {"donate", {{"bill_id", "2"}, {"bill_no", "DN671000001"}, {"bill_date", "05/11/2024"},
                  {"accessory_no", "002"}, {"accessory_name", "ดอกไม้ธูปเทียน"}, {"accessory_type", "1"},
                  {"qty", "1"}, {"unit_name", "ชุด"}, {"price", "250.5"}, {"disc_rate", "0"}, {"total", "250.5"},
                  {"sale_no", "ST1"}}},
      {"m_donate", {{"accessory_no", "001"}, {"accessory_name", "บำรุงวัด"}, {"accessory_type", "1"},
                    {"accessory_unit", "บาท"}, {"cut_stock", "0"}, {"price_1", "100"}}},
      {"m_donate", {{"accessory_no", "002"}, {"accessory_name", "ดอกไม้ธูปเทียน"}, {"accessory_type", "2"},
                    {"accessory_unit", "ชุด"}, {"cut_stock", "Y"}, {"price_1", "20"}}},
      {"h_person", {{"per_no", "ST1"}, {"per_name", "พระมหาสมปอง"}}},
      {"h_person", {{"per_no", "ST2"}, {"per_name", "นางสาวมาลี"}}},
  };
}

class DonationWindowTest : public TempleDatabaseTest {
 protected:
  void SetUp() override {
    TempleDatabaseTest::SetUp();
    FakeSQLProcessor::Register();
    MdiFrame::Open();
  }
  void TearDown() override {
    // The windows close before the engine runtime ends.
    Application().DestroyComponents();
    user::ProcessEvents();
    TempleDatabaseTest::TearDown();
    FakeSQLProcessor::Unregister();
  }

  Tdonate& Open() {
    DonationLayouts layouts;
    for (const char* kind : {"0", "1"}) {
      for (const char* view : {"0", "1", "2"}) {
        layouts.push_back({{kind, view}, [this, kind, view] { printed_.push_back(std::string(kind) + view); }});
      }
    }
    window_ = FormsApplication().CreateForm<Tdonate>(ServeTables(tables_, runs_), std::move(layouts));
    window_->Show();
    user::ProcessEvents();
    return *window_;
  }

  // The statement the window's last write ran, and one of its parameters.
  std::string Written() const { return window_->q_add_edit.SQL().Text(); }
  TParam& Parameter(const char* name) const { return *window_->q_add_edit.ParamByName(name); }
  size_t Writes() const { return FakeSQLProcessor::Runs().size(); }

  void SetPrefix(const std::string& prefix) {
    for (TableRow& row : tables_) {
      if (row.Table == "sys_sys") row.Values[0].Value = prefix;
    }
  }

  std::vector<TableRow> tables_ = DonationTables();
  std::vector<QueryStatement> runs_;
  std::vector<std::string> printed_;
  Tdonate* window_ = nullptr;
};

TEST_F(DonationWindowTest, OpensOnTheFirstDonationOfItsSeriesWithItsLinesAndTotal) {
  Tdonate& w = Open();
  EXPECT_EQ(seen::Caption(w), " การบริจาค...  ");
  EXPECT_EQ(seen::Text(w.Edit16), "DN671000001");
  EXPECT_EQ(seen::Text(w.Edit19), "05/11/2567");
  EXPECT_EQ(seen::Text(w.Edit2), "นายสมชาย ใจดี");
  EXPECT_EQ(seen::Text(w.Edit3), "12 ถนนพระราม 4");
  EXPECT_EQ(seen::Text(w.Edit18), "ST1");
  EXPECT_EQ(seen::Text(w.Edit4), "บิดามารดา");
  EXPECT_EQ(w.DonationCustNo, "C0001");
  EXPECT_EQ(seen::RowCount(w.DBGrid2), 2);
  EXPECT_EQ(seen::Cell(w.DBGrid2, 0, 1), "05/11/2567");
  EXPECT_EQ(seen::Cell(w.DBGrid2, 1, 6), "250.50");
  EXPECT_EQ(seen::Text(w.Label26), "1,250.50");
  EXPECT_TRUE(seen::Visible(w.Button6) && seen::Visible(w.Button7));
  EXPECT_FALSE(seen::Visible(w.Panel1));
  EXPECT_EQ(myVar.VatRate, 7);
  EXPECT_TRUE(w.Button16.Enabled() && w.Button11.Enabled() && !w.Button12.Enabled() && !w.Button14.Enabled());

  user::ClickButton(w.DBNavigator1, nbNext);
  EXPECT_EQ(seen::Text(w.Edit16), "DN671000002");
  EXPECT_EQ(seen::RowCount(w.DBGrid2), 0);
  EXPECT_EQ(seen::Text(w.Label26), "") << "a donation without lines shows no total";
  EXPECT_FALSE(seen::Visible(w.Button6) || seen::Visible(w.Button7));
  user::ClickButton(w.DBNavigator1, nbNext);
  EXPECT_EQ(seen::Text(w.Edit16), "DN671000002") << "another series is not listed";
}

TEST_F(DonationWindowTest, ANewDonationStartsBlankAndCancelReturnsToTheDonationShownBefore) {
  Tdonate& w = Open();
  user::ClickButton(w.DBNavigator1, nbNext);
  user::Click(w.Button16);
  EXPECT_EQ(w.State(), DonationState::kAdd);
  EXPECT_EQ(seen::Text(w.Edit16), "TEMP000000");
  EXPECT_EQ(seen::Text(w.Edit19), DateToThaiText(Date()));
  EXPECT_EQ(seen::Text(w.Edit2), "");
  EXPECT_TRUE(seen::HasFocus(w.Edit2));
  EXPECT_EQ(seen::RowCount(w.DBGrid2), 0);
  EXPECT_TRUE(w.Button12.Enabled() && w.Button14.Enabled() && !w.Button16.Enabled() && !w.Button5.Enabled());
  w.Edit4.SetFocus();
  user::Type("แม่");
  EXPECT_EQ(seen::Text(w.Edit4), "แม่") << "the dedication is typed";

  user::Click(w.Button13);
  EXPECT_EQ(w.State(), DonationState::kNormal);
  EXPECT_EQ(seen::Text(w.Edit16), "DN671000002");
  EXPECT_TRUE(w.Edit4.ReadOnly());
  EXPECT_TRUE(w.Button16.Enabled() && w.Button5.Enabled());
}

TEST_F(DonationWindowTest, TwoWindowsKeepTheirOwnStateDonorAndNumber) {
  Tdonate& first = Open();
  Tdonate& second = Open();
  user::ClickButton(second.DBNavigator1, nbNext);
  user::Click(first.Button16);
  first.DonationCustNo = "C0009";
  EXPECT_EQ(first.State(), DonationState::kAdd);
  EXPECT_EQ(second.State(), DonationState::kNormal);
  EXPECT_EQ(second.CurrentNumber(), "DN671000002");
  EXPECT_EQ(second.DonationCustNo, "");
  EXPECT_EQ(seen::Text(second.Edit16), "DN671000002");
}

TEST_F(DonationWindowTest, SavingANewDonationNumbersItAfterTheHighestOfItsSeries) {
  Tdonate& w = Open();
  user::Click(w.Button16);
  w.DonationCustNo = "C0002";
  user::Click(w.Button12);
  ASSERT_EQ(Writes(), 1u);
  EXPECT_EQ(Written().rfind(" insert into g_donate_2 ", 0), 0u) << Written();
  EXPECT_EQ(Parameter("pbill_no").AsString(), "DN671000003");
  EXPECT_EQ(Parameter("pcust_no").AsString(), "C0002");
  EXPECT_EQ(Parameter("ptotal").AsFloat(), 0);
  EXPECT_EQ(Parameter("pbeg_date").AsDateTime(), 0);
  EXPECT_EQ(w.State(), DonationState::kNormal);
  EXPECT_TRUE(w.Button16.Enabled() && !w.Button12.Enabled());

  // Editing stores the total of the lines and keeps the number.
  user::ClickButton(w.DBNavigator1, nbFirst);
  user::Click(w.Button11);
  user::Click(w.Button12);
  EXPECT_EQ(Written().rfind(" update g_donate_2 ", 0), 0u) << Written();
  EXPECT_EQ(Parameter("pbill_no").AsString(), "DN671000001");
  EXPECT_EQ(Parameter("ptotal").AsFloat(), 1250.5);
  EXPECT_EQ(seen::Text(w.Edit16), "DN671000001") << "back to the edited donation";
}

TEST_F(DonationWindowTest, AFirstNumberThatIsNotSixDigitsStoresNothingAndStaysInAdd) {
  SetPrefix("NEW6");
  Tdonate& w = Open();
  user::Click(w.Button16);
  Dialogs().AnswerInput("12");
  Dialogs().Answer(mrOk);
  user::Click(w.Button12);
  EXPECT_EQ(Dialogs().Transcript().back().text, "ไม่ครบ 6 หลัก ยกเลิกแล้วเริ่มต้นใหม่ นะ.");
  EXPECT_EQ(Writes(), 0u);
  EXPECT_EQ(w.State(), DonationState::kAdd);
  EXPECT_TRUE(w.Button12.Enabled());

  Dialogs().AnswerInput("000001");
  user::Click(w.Button12);
  EXPECT_EQ(Parameter("pbill_no").AsString(), "NEW61000001");
}

TEST_F(DonationWindowTest, ASaveThatFailsBeforeItsCommitKeepsNothingAndTheNextSaveNumbersAgain) {
  Tdonate& w = Open();
  user::Click(w.Button16);
  w.BeforeCommit = [] { throw std::runtime_error("table locked by another user"); };
  Dialogs().Answer(mrOk);
  user::Click(w.Button12);
  EXPECT_EQ(Dialogs().Transcript().back().text,
            "ยังไม่สามารถบันทึกได้ตอนนี้ USER อื่น กำลัง  LOCK  ข้อมูลอยู่ รอสักครู่.  แล้วลองใหม่อีกครั้ง ... ");
  EXPECT_FALSE(w.Database1.InTransaction()) << "rolled back";
  EXPECT_EQ(w.State(), DonationState::kAdd);
  EXPECT_EQ(seen::Text(w.Edit16), "DN671000003");

  // Another copy stored that number meanwhile: the next save numbers again.
  tables_.push_back({"g_donate_2", {{"bill_no", "DN671000003"}, {"bill_date", "07/11/2024"}}});
  w.BeforeCommit = nullptr;
  user::Click(w.Button12);
  EXPECT_EQ(Parameter("pbill_no").AsString(), "DN671000004");
  EXPECT_EQ(w.State(), DonationState::kNormal);
}

TEST_F(DonationWindowTest, ALinePickedFromTheCatalogueIsSavedWithItsStockPosting) {
  Tdonate& w = Open();
  struct Case {
    int row;
    const char* code;
    const char* unit;
    const char* price;
    bool name_typed;
    int stk_post;
  };
  for (const Case& c : {Case{0, "001", "บาท", "100", false, 5}, Case{1, "002", "ชุด", "20", true, 1}}) {
    SCOPED_TRACE(c.code);
    user::Click(w.Button5);
    ASSERT_TRUE(seen::Visible(w.Panel1));
    EXPECT_TRUE(seen::HasFocus(w.Edit7));
    user::ClickCell(w.DBGrid3, c.row, 0);
    EXPECT_EQ(seen::Text(w.Edit9), c.code);
    EXPECT_EQ(seen::Text(w.MaskEdit12), "1");
    EXPECT_EQ(seen::Text(w.Edit8), c.unit);
    EXPECT_EQ(seen::Text(w.MaskEdit15), c.price);
    EXPECT_EQ(seen::HasFocus(w.Edit10), c.name_typed) << "only a purpose with cut_stock Y takes a typed name";
    if (c.name_typed) user::Type(" สีขาว");
    user::Click(w.Button9);
    EXPECT_EQ(Written().rfind(" insert into donate ", 0), 0u) << Written();
    EXPECT_EQ(Parameter("pbill_no").AsString(), "DN671000001");
    EXPECT_EQ(Parameter("pstk_post").AsInteger(), c.stk_post);
    EXPECT_EQ(Parameter("paccessory_name").AsString(), c.name_typed ? "ดอกไม้ธูปเทียน สีขาว" : "บำรุงวัด");
    EXPECT_EQ(Parameter("ptotal").AsFloat(), std::stod(c.price));
    EXPECT_FALSE(seen::Visible(w.Panel1));
    EXPECT_TRUE(seen::HasFocus(w.Button5));
  }
}

TEST_F(DonationWindowTest, ACodeTypedWithoutAPickIsLookedUpAndAnUnknownOneIsRefused) {
  Tdonate& w = Open();
  user::Click(w.Button5);
  user::ClickCell(w.DBGrid3, 1, 0);  // "002", cut_stock Y
  struct Case {
    const char* code;
    size_t writes;
    int stk_post;
  };
  for (const Case& c : {Case{"999", 0, 0}, Case{"001", 1, 5}}) {
    w.Edit9.SetText(c.code);
    if (c.writes == 0) Dialogs().Answer(mrOk);
    user::Click(w.Button9);
    EXPECT_EQ(Writes(), c.writes) << c.code;
    if (c.writes == 0) {
      EXPECT_EQ(Dialogs().Transcript().back().text, "ไม่พบข้อมูลนี้...");
      EXPECT_TRUE(seen::Visible(w.Panel1)) << "the line stays open to be mended";
    } else {
      EXPECT_EQ(Parameter("pstk_post").AsInteger(), c.stk_post) << "the stock flag of the code saved";
      EXPECT_EQ(Parameter("paccessory_type").AsString(), "1");
    }
  }
}

TEST_F(DonationWindowTest, EditingALineChangesOnlyThatLineAndDeletingOneAsksFirst) {
  Tdonate& w = Open();
  user::ClickCell(w.DBGrid2, 1, 2);
  user::Click(w.Button6);
  EXPECT_EQ(seen::Text(w.Edit9), "002");
  EXPECT_EQ(seen::Text(w.MaskEdit13), "250.5");
  EXPECT_TRUE(w.Edit9.ReadOnly());
  w.MaskEdit12.SetText("2");
  user::Click(w.Button9);
  EXPECT_EQ(Written().rfind(" update donate ", 0), 0u) << Written();
  EXPECT_EQ(Parameter("pbill_id").AsInteger(), 2);
  EXPECT_EQ(Parameter("ptotal").AsFloat(), 501);

  user::ClickCell(w.DBGrid2, 0, 2);
  Dialogs().Answer(mrNo);
  user::Click(w.Button7);
  EXPECT_EQ(Writes(), 1u) << "No deletes nothing";
  Dialogs().Answer(mrYes);
  user::Click(w.Button7);
  EXPECT_EQ(Written().rfind(" delete from donate ", 0), 0u) << Written();
  EXPECT_EQ(Parameter("q_bill_id").AsInteger(), 1);
}

TEST_F(DonationWindowTest, ADonationWithLinesCannotBeDeleted) {
  Tdonate& w = Open();
  Dialogs().Answer(mrOk);
  user::Click(w.Button17);
  EXPECT_EQ(Dialogs().Transcript().back().text, "มีข้อมูลในรายการย่อย... ต้องลบออกก่อน ");
  EXPECT_EQ(Writes(), 0u);
  EXPECT_TRUE(w.Button17.Enabled() && w.Button5.Enabled());

  user::ClickButton(w.DBNavigator1, nbNext);
  Dialogs().Answer(mrYes);
  user::Click(w.Button17);
  EXPECT_EQ(Parameter("pbill_no").AsString(), "DN671000002");
}

TEST_F(DonationWindowTest, ThePrintButtonsHandTheDonationToTheLayoutOfItsKindAndView) {
  Tdonate& w = Open();
  user::Click(w.Button18);
  EXPECT_EQ(myVar.PrintBillNo, "DN671000001");
  EXPECT_EQ(myVar.PrintDocKind, "0");
  EXPECT_EQ(myVar.PrintDocTitle, "ใบรับบริจาค");
  EXPECT_EQ(myVar.PrintLogo, "1");
  EXPECT_EQ(myVar.PrintPreview, "0");
  EXPECT_EQ(myVar.PrintTop, 10);
  EXPECT_EQ(myVar.PrintLeft, 5);
  user::Click(w.Button19);
  EXPECT_EQ(myVar.PrintDocKind, "1");
  EXPECT_EQ(myVar.PrintDocTitle, "ใบอนุโมทนาบัตร");
  EXPECT_EQ(printed_, (std::vector<std::string>{"02", "12"}));

  tables_[0].Values[4].Value = "9";  // VIEW7 with no layout
  user::Click(w.Button18);
  EXPECT_EQ(printed_.size(), 2u) << "nothing opens";
}

TEST_F(DonationWindowTest, EnterMovesAlongTheHeaderAndTheStaffAndNumberPagesFindByPrefix) {
  Tdonate& w = Open();
  user::Click(w.Button11);
  w.Edit2.SetFocus();
  for (TEdit* next : {&w.Edit3, &w.Edit21, &w.Edit22, &w.Edit23, &w.Edit24, &w.Edit25}) {
    user::PressEnter();
    EXPECT_TRUE(seen::HasFocus(*next)) << next->Name();
  }

  user::Click(w.Button15);
  EXPECT_TRUE(seen::Visible(w.Edit11) && seen::HasFocus(w.Edit11));
  user::ClickItem(w.RadioGroup3, 1);
  EXPECT_EQ(seen::Text(w.Label21), "ค้นหาโดยชื่อ");
  user::Type("นาง");
  user::PressEnter();
  EXPECT_TRUE(seen::HasFocus(w.Button22));
  user::Click(w.Button22);
  EXPECT_EQ(seen::Text(w.Edit18), "นางสาวมาลี");
  EXPECT_EQ(w.StaffNo(), "ST2");
  EXPECT_TRUE(seen::Visible(w.Edit2));
  user::Click(w.Button13);

  user::Click(w.Button2);
  EXPECT_FALSE(seen::Visible(w.Button2));
  user::Type("DN6710000");
  user::PressEnter();
  EXPECT_TRUE(seen::HasFocus(w.Button1));
  user::Click(w.Button1);
  EXPECT_TRUE(seen::Visible(w.Button2));
  EXPECT_EQ(seen::Text(w.Edit16), "DN671000001");
}

}  // namespace
