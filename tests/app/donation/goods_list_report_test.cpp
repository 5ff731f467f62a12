// The goods register report on a real file: each item's stock on hand and
// the two printed layouts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/donation/rep_product.h"
#include "tests/app/donation/support/DonationReportTest.h"

namespace {

using Texts = std::vector<std::string>;

TableRow Item(const char* number, const char* name, const char* counted, const char* opening) {
  return {"product",
          {{"pro_no", number},
           {"pro_name", name},
           {"cut_stock", counted},
           {"pro_total", opening},
           {"pro_unit", "องค์"},
           {"pro_bprice", "80"},
           {"pro_sprice", "100"}}};
}

TableRow Movement(const char* table, const char* number, const char* qty, const char* posted) {
  return {table, {{"bill_no", "B1"}, {"accessory_no", number}, {"qty", qty}, {"stk_post", posted}}};
}

class GoodsListReport : public DonationReportTest {
 protected:
  void SetUp() override {
    DonationReportTest::SetUp();
    Trep_product::ProductFilterMode = 0;
    const std::vector<TableRow> rows{
        Item("P001", "พระผง", "1", "5"),
        Item("P002", "ธูปหอม", "0", "7"),
        Item("P003", "เทียนพรรษา", "2", "9"),
        Movement("instock", "P001", "10", "2"),
        Movement("instock", "P001", "4", "1"),
        Movement("outstock", "P001", "3", "1"),
        Movement("outstock", "P001", "2", "0"),
    };
    AppendRows(database_file_, rows);
  }

  static Texts Column(const TDBGrid& grid, int column) {
    Texts texts;
    for (int row = 0; row < seen::RowCount(grid); ++row) texts.push_back(seen::Cell(grid, row, column));
    return texts;
  }
};

TEST_F(GoodsListReport, TheStockOnHandCountsPostedPurchasesAndSalesOfCountedItemsOnly) {
  auto& w = Open<Trep_product>();
  EXPECT_EQ(seen::Caption(w), " รายงานทะเบียนสินค้า");
  EXPECT_EQ(seen::RowCount(*w.DBGrid1), 0) << "empty until the first run";

  user::ClickItem(*w.RadioGroup1, 1);
  EXPECT_EQ(Column(*w.DBGrid1, 1), (Texts{"เทียนพรรษา", "ธูปหอม", "พระผง"})) << "in Thai dictionary order";
  EXPECT_EQ(Column(*w.DBGrid1, 2), (Texts{"", "0", "12"})) << "an item counted otherwise shows no stock";

  user::Click(*w.RunButton);
  EXPECT_EQ(Trep_product::ProductFilterMode, 1);
  EXPECT_EQ(Column(*w.DBGrid1, 0), (Texts{"P003", "P002", "P001"})) << "the same items, in the same order";
}

TEST_F(GoodsListReport, TheAmuletLayoutPrintsPricesAndTheGoodsLayoutNumbersTheLines) {
  auto& w = Open<Trep_product>();
  user::Click(*w.RunButton);
  user::Click(*w.PrintButtons.at(0));
  const TQRPrintedPage& amulets = Preview().Last().pages.at(0);
  EXPECT_NE(amulets.FindText("รายงานทะเบียนวัตถุมงคล"), nullptr);
  EXPECT_NE(amulets.FindText("ราคาขาย"), nullptr);
  EXPECT_EQ(Printed("Line_m_qty"), (Texts{"12", "0", ""}));
  EXPECT_EQ(Printed("Line_PRO_SPRICE"), (Texts{"100.00", "100.00", "100.00"}));
  EXPECT_EQ(Printed("StockSum"), Texts{"12.00"});
  EXPECT_TRUE(Printed("Line_number").empty());

  user::Click(*w.PrintButtons.at(1));
  const TQRPrintedPage& goods = Preview().Last().pages.at(0);
  EXPECT_NE(goods.FindText("รายงานทะเบียนสินค้า"), nullptr);
  EXPECT_EQ(goods.FindText("ราคาขาย"), nullptr);
  EXPECT_EQ(Printed("Line_number"), (Texts{"1", "2", "3"}));
  EXPECT_EQ(Printed("Line_PRO_NO"), (Texts{"P001", "P002", "P003"}));
}

TEST_F(GoodsListReport, TheRunButtonSwitchesEveryWindowToTheNameNoItemHas) {
  const ServedShape items{{{"PRO_NO", ftString, 15}, {"PRO_NAME", ftString, 50}, {"PRO_TOTAL", ftFloat},
                           {"CUT_STOCK", ftString, 1}},
                          ""};
  auto& w = OpenServed<Trep_product>({items});
  user::ClickItem(*w.RadioGroup1, 1);
  const QueryStatement& before = Served().runs.back();
  EXPECT_EQ(before.lines, (Texts{" select * from product ", " where pro_name like:mspr_name ", " order by pro_name "}));
  EXPECT_EQ(ServedQuery::Parameter(before, "mspr_name")->AsString(), "%%");

  user::Click(*w.RunButton);
  const QueryStatement& after = Served().runs.back();
  EXPECT_EQ(after.lines.at(1), " where pro_name not like:mspr_name ");
  EXPECT_EQ(ServedQuery::Parameter(after, "mspr_name")->AsString(), "-*98*752acr445x");

  auto& other = OpenServed<Trep_product>({items});
  user::ClickItem(*other.RadioGroup1, 1);
  EXPECT_EQ(Served().runs.back().lines.at(1), " where pro_name not like:mspr_name ") << "the mode is shared";
}

}  // namespace
