// The goods window on a database file, through the SQL engine: sale and
// purchase documents numbered in their own series, lines checked against the
// stock on hand before and inside their transaction, and what a refused or
// failed save leaves behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/core/myVar.h"
#include "app/donation/edit_fill.h"
#include "engine/access/Database.h"
#include "engine/access/Query.h"
#include "platform/db/DB.h"
#include "tests/app/core/support/HelperOutput.h"
#include "tests/app/core/support/MdiFrame.h"
#include "tests/app/core/support/TempleDatabaseTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

namespace {

constexpr const char* kSale = "AB011000041";
constexpr const char* kPurchase = "PU011000007";
constexpr const char* kCustomer = "C0001";
constexpr const char* kStaff = "ST1";

// Item A01: opening 0, purchases 5, sales 3, so 2 on hand. Item B01 is not
// counted. Item C01: opening 0, one purchase line of 10 and sales of 5.
std::vector<TableRow> GoodsRows() {
  return {
      {"h_person", {{"per_no", kStaff}, {"per_name", "พระมหาสมปอง"}}},
      {"customer", {{"cust_no", kCustomer}, {"cust_name", "นายสมชาย ใจดี"}}},
      {"product", {{"pro_no", "A01"}, {"pro_name", "พระผง"}, {"pro_type", "0"}, {"pro_unit", "องค์"},
                   {"cut_stock", "1"}, {"pro_total", "0"}, {"pro_sprice", "100"}, {"pro_bprice", "60"}}},
      {"product", {{"pro_no", "B01"}, {"pro_name", "ค่าบริการ"}, {"pro_type", "0"}, {"pro_unit", "ครั้ง"},
                   {"cut_stock", "0"}, {"pro_total", "0"}, {"pro_sprice", "50"}}},
      {"product", {{"pro_no", "D01"}, {"pro_name", "ตะกรุด"}, {"pro_type", "0"}, {"pro_unit", "ดอก"},
                   {"cut_stock", "1"}, {"pro_total", "1"}, {"pro_sprice", "100"}}},
      {"product", {{"pro_no", "C01"}, {"pro_name", "เหรียญ"}, {"pro_type", "0"}, {"pro_unit", "เหรียญ"},
                   {"cut_stock", "1"}, {"pro_total", "0"}, {"pro_sprice", "30"}, {"pro_bprice", "20"}}},
      {"g_sale_2", {{"bill_no", kSale}, {"bill_date", "01/03/2024"}, {"due_date", "01/03/2024"},
                    {"cust_no", kCustomer}, {"credit_rate", "สด"}, {"sale_no", kStaff}}},
      {"g_buy_2", {{"bill_no", kPurchase}, {"bill_date", "01/03/2024"}, {"due_date", "01/03/2024"},
                   {"credit_rate", "สด"}}},
      {"instock", {{"bill_no", kPurchase}, {"accessory_no", "A01"}, {"qty", "5"}, {"stk_post", "2"}}},
      {"outstock", {{"bill_no", "OTHER000001"}, {"accessory_no", "A01"}, {"qty", "3"}, {"stk_post", "1"}}},
      {"instock", {{"bill_no", kPurchase}, {"accessory_no", "C01"}, {"qty", "10"}, {"price", "20"},
                   {"total", "200"}, {"stk_post", "2"}}},
      {"outstock", {{"bill_no", "OTHER000001"}, {"accessory_no", "C01"}, {"qty", "5"}, {"stk_post", "1"}}},
  };
}

class GoodsWindowTest : public TempleDatabaseTest {
 protected:
  void SetUp() override {
    TempleDatabaseTest::SetUp();
    AppendRows(database_file_, GoodsRows());
    Change("update sys_sys set prefix6 = 'PU01', prefix7 = 'AB01'");
    MdiFrame::Open();
  }
  void TearDown() override {
    // The windows' queries close before the engine that holds their results ends.
    reader_.reset();
    Application().DestroyComponents();
    user::ProcessEvents();
    TempleDatabaseTest::TearDown();
  }

  Tedit_fill& Open(const char* mode) {
    myVar.WorkMode = mode;
    Tedit_fill& w = *FormsApplication().CreateForm<Tedit_fill>();
    w.Show();
    user::ProcessEvents();
    return w;
  }

  // The texts of `column` over the rows of a statement, read on a connection
  // of the test's own.
  std::vector<std::string> Stored(const std::string& statement, const char* column) {
    if (!reader_) {
      reader_ = std::make_unique<TComponent>(nullptr);
      auto* database = new TVTRDatabase(reader_.get());
      database->SetDatabaseName("goods_reader");
      database->SetDatabaseFileName(database_file_.string());
      database->MultiUser = true;
    }
    TVTRQuery query(reader_.get());
    query.SetDatabaseName("goods_reader");
    query.SQL().Add(statement);
    query.Open();
    std::vector<std::string> texts;
    for (; !query.Eof(); query.Next()) texts.push_back(query.FieldByName(column)->AsString());
    query.Close();
    return texts;
  }

  void Change(const std::string& statement) {
    Stored("select of_name from sys_sys", "of_name");
    TVTRQuery change(reader_.get());
    change.SetDatabaseName("goods_reader");
    change.SQL().Add(statement);
    change.ExecSQL();
  }

  // Starts a line add, picks the item by its number and saves `qty`.
  void SaveNewLine(Tedit_fill& w, const std::string& item, const std::string& qty) {
    user::Click(w.Button5);
    user::Type(item);
    user::PressEnter();
    w.MaskEdit12.SetText(qty);
    user::Click(w.Button9);
  }

  std::string LastMessage() {
    const auto& shown = Dialogs().Transcript();
    return shown.empty() ? std::string() : shown.back().text;
  }

  std::unique_ptr<TComponent> reader_;
};

TEST_F(GoodsWindowTest, SalesAndPurchasesAreNumberedInTheirOwnSeries) {
  Tedit_fill& sale = Open("1");
  EXPECT_EQ(seen::Text(sale.Edit16), kSale);
  EXPECT_EQ(seen::Text(sale.Edit2), "นายสมชาย ใจดี");
  seen::OnModalForm([](TForm& picker) { user::CloseWindow(picker); });
  user::Click(sale.Button16);
  EXPECT_EQ(seen::Text(sale.Edit1), kCustomer) << "the picker wrote the party back";
  EXPECT_FALSE(sale.Button16.Enabled());
  user::Click(sale.Button12);
  EXPECT_EQ(sale.HeaderState(), GoodsHeaderState::kNormal);
  EXPECT_EQ(seen::Text(sale.Edit16), "AB011000042");
  EXPECT_EQ(Stored("select bill_no from g_sale_2 order by bill_no", "bill_no"),
            (std::vector<std::string>{kSale, "AB011000042"}));
  user::ClickCloseBox(sale);
  user::ProcessEvents();

  Tedit_fill& purchase = Open("3");
  EXPECT_FALSE(seen::Visible(purchase.Button18));
  EXPECT_FALSE(seen::Visible(purchase.Button19));
  seen::OnModalForm([](TForm& picker) { user::CloseWindow(picker); });
  user::Click(purchase.Button16);
  user::Click(purchase.Button12);
  EXPECT_EQ(seen::Text(purchase.Edit16), "PU011000008");
}

TEST_F(GoodsWindowTest, TheFirstDocumentOfAPrefixTakesTheDefaultFirstNumber) {
  Change("update sys_sys set prefix7 = 'CD02'");
  Tedit_fill& w = Open("1");
  EXPECT_EQ(seen::Text(w.Edit16), "") << "no document of this prefix yet";
  seen::OnModalForm([](TForm& picker) { user::CloseWindow(picker); });
  user::Click(w.Button16);
  Dialogs().AnswerInput("000001");
  user::Click(w.Button12);
  EXPECT_EQ(seen::Text(w.Edit16), "CD021000001");
}

TEST_F(GoodsWindowTest, TheCreditTermSetsTheDueDate) {
  struct Case {
    const char* date;
    int term;
    const char* due;
  };
  Tedit_fill& w = Open("1");
  user::Click(w.Button11);
  for (const Case& c : {Case{"01/03/2567", 4, "31/03/2567"}, Case{"15/01/2567", 10, "29/02/2567"}}) {
    w.Edit19.SetText(c.date);
    user::ChooseComboItem(w.ComboBox2, c.term);
    EXPECT_EQ(seen::Text(w.Edit4), c.due) << c.date;
  }
}

TEST_F(GoodsWindowTest, ASaleLargerThanTheStockIsRefusedAndTheRestIsStored) {
  Tedit_fill& w = Open("1");
  Dialogs().Answer(mrOk);
  SaveNewLine(w, "A01", "3");
  EXPECT_EQ(LastMessage(), "จำนวนไม่พอ... 2");
  EXPECT_TRUE(seen::Visible(w.Panel1)) << "the editor stays open";
  EXPECT_FALSE(w.Button12.Enabled()) << "no header save during line entry";
  EXPECT_TRUE(Stored("select qty from outstock where bill_no = 'AB011000041'", "qty").empty());

  w.MaskEdit12.SetText("2");
  w.CheckBox1.SetChecked(true);
  user::Click(w.Button9);
  EXPECT_FALSE(seen::Visible(w.Panel1));
  const std::string line = "select * from outstock where bill_no = 'AB011000041'";
  EXPECT_EQ(Stored(line, "stk_post"), std::vector<std::string>{"1"});
  EXPECT_EQ(Stored(line, "cust_no"), std::vector<std::string>{kCustomer}) << "the header's party";
  EXPECT_EQ(Stored(line, "sale_no"), std::vector<std::string>{kStaff}) << "the header's staff";
  EXPECT_EQ(Stored(line, "fg_gift"), std::vector<std::string>{"1"});
  EXPECT_EQ(seen::Text(w.Label26), "200.00");
  EXPECT_EQ(seen::RowCount(w.DBGrid2), 1);
}

TEST_F(GoodsWindowTest, ASaleOfStockAnotherUserSoldMeanwhileIsRolledBack) {
  Tedit_fill& w = Open("1");
  w.AfterStockCheck = [this] {
    Change("insert into outstock (bill_no, accessory_no, qty, stk_post) values ('OTHER000002', 'A01', 1, 1)");
  };
  Dialogs().Answer(mrOk);
  SaveNewLine(w, "A01", "2");
  EXPECT_EQ(LastMessage(), "จำนวนไม่พอ... 1");
  EXPECT_FALSE(w.Database1.InTransaction());
  EXPECT_TRUE(Stored("select qty from outstock where bill_no = 'AB011000041'", "qty").empty());
  EXPECT_EQ(Stored("select sum(qty) as sold from outstock where accessory_no = 'A01' and stk_post = 1", "sold"),
            std::vector<std::string>{"4"})
      << "one unit left on hand, never below zero";
}

TEST_F(GoodsWindowTest, TwoCopiesSellingTheLastUnitAtOnceStoreOneSale) {
  ScratchFolder meeting;
  const std::string command = std::string(VTR_GOODS_SALE_HELPER) + " '" + folder_.Path().string() + "' D01 1 '" +
                              meeting.Path().string() + "' 2";
  FILE* first = popen(command.c_str(), "r");
  FILE* second = popen(command.c_str(), "r");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  std::vector<std::vector<std::string>> outputs{OutputOf(first), OutputOf(second)};
  EXPECT_EQ(pclose(first), 0);
  EXPECT_EQ(pclose(second), 0);
  std::sort(outputs.begin(), outputs.end());
  ASSERT_EQ(outputs.at(0), std::vector<std::string>{""}) << "one copy stored its sale";
  ASSERT_EQ(outputs.at(1).size(), 2u);
  EXPECT_TRUE(outputs[1][0] == "จำนวนไม่พอ... 0" ||
              outputs[1][0] == "ยังไม่สามารถบันทึกได้ตอนนี้ มี USER อื่น กำลัง Lock ข้อมูลอยู่ สักครู่ .. ลองใหม่...")
      << outputs[1][0];
  EXPECT_EQ(outputs[1][1], "จำนวนไม่พอ... 0") << "the retry is refused by the stock";
  EXPECT_EQ(Stored("select qty from outstock where accessory_no = 'D01'", "qty"), std::vector<std::string>{"1"});
}

TEST_F(GoodsWindowTest, LoweringAPurchaseIsRefusedBelowWhatWasSold) {
  Tedit_fill& w = Open("3");
  EXPECT_EQ(seen::Text(w.Edit16), kPurchase);
  user::ClickCell(w.DBGrid2, 1, 1);  // the line of C01
  user::Click(w.Button6);
  EXPECT_EQ(seen::Text(w.MaskEdit12), "10");
  w.MaskEdit12.SetText("4");
  Dialogs().Answer(mrOk);
  user::Click(w.Button9);
  EXPECT_EQ(LastMessage(), "จำนวนไม่พอ... 5");
  w.MaskEdit12.SetText("5");
  user::Click(w.Button9);
  EXPECT_EQ(Stored("select qty from instock where accessory_no = 'C01'", "qty"), std::vector<std::string>{"5"});
}

TEST_F(GoodsWindowTest, AnUncountedItemIsStoredUncheckedAndATypedUnknownNumberIsRefused) {
  Tedit_fill& w = Open("1");
  SaveNewLine(w, "B01", "1000");
  EXPECT_EQ(Stored("select stk_post from outstock where accessory_no = 'B01'", "stk_post"),
            std::vector<std::string>{"5"});

  user::Click(w.Button5);
  w.Edit9.SetText("ZZ9");
  w.MaskEdit12.SetText("1");
  w.MaskEdit13.SetText("1");
  w.MaskEdit14.SetText("0");
  Dialogs().Answer(mrOk);
  user::Click(w.Button9);
  EXPECT_EQ(LastMessage(), "ไม่พบข้อมูลนี้...");
  EXPECT_TRUE(Stored("select qty from outstock where accessory_no = 'ZZ9'", "qty").empty());
}

TEST_F(GoodsWindowTest, ACommitFailureLeavesNeitherTheLineNorAChangedTotal) {
  Tedit_fill& w = Open("1");
  w.BeforeCommit = [] { throw std::runtime_error("table locked by another user"); };
  Dialogs().Answer(mrOk);
  SaveNewLine(w, "A01", "1");
  EXPECT_EQ(LastMessage(), "ยังไม่สามารถบันทึกได้ตอนนี้ มี USER อื่น กำลัง Lock ข้อมูลอยู่ สักครู่ .. ลองใหม่...");
  EXPECT_FALSE(w.Database1.InTransaction());
  EXPECT_TRUE(Stored("select qty from outstock where bill_no = 'AB011000041'", "qty").empty());
  EXPECT_EQ(seen::Text(w.Label26), "");
}

TEST_F(GoodsWindowTest, DeletingTheLastLineHidesTheLineEditAndDelete) {
  Tedit_fill& w = Open("1");
  SaveNewLine(w, "B01", "1");
  ASSERT_TRUE(seen::Visible(w.Button6));
  Dialogs().Answer(mrYes);
  user::Click(w.Button7);
  EXPECT_FALSE(seen::Visible(w.Button6));
  EXPECT_FALSE(seen::Visible(w.Button7));
  EXPECT_EQ(seen::Text(w.Label26), "");
  EXPECT_TRUE(Stored("select qty from outstock where bill_no = 'AB011000041'", "qty").empty());
}

TEST_F(GoodsWindowTest, ADocumentWithLinesIsNotDeleted) {
  Tedit_fill& w = Open("3");
  Dialogs().Answer(mrYes);
  Dialogs().Answer(mrOk);
  user::Click(w.Button17);
  EXPECT_EQ(LastMessage(), "ต้องลบข้อมูลในรายการให้หมดก่อน... ");
  EXPECT_EQ(Stored("select bill_no from g_buy_2", "bill_no"), std::vector<std::string>{kPurchase});
}

}  // namespace
