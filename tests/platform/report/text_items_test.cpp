#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "platform/report/internal/TextMetrics.h"
#include "platform/rtl/DateTime.h"
#include "platform/ui/Picture.h"
#include "platform/ui/ThaiDate.h"
#include "tests/platform/report/ReportTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace {

constexpr double kPixel = 25.4 / 96;

// A report with one detail band over a query of one field of each kind, whose
// second row is all null.
class TextItemsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    query = new TArrayDataSet(&host, {{"AMOUNT", ftFloat},
                                      {"COUNT", ftInteger},
                                      {"DAY", ftDate},
                                      {"NAME", ftString, 30},
                                      {"PRICE", ftCurrency}});
    query->SetName("Query1");
    query->Open();
    query->Append();
    query->FieldByName("AMOUNT")->SetAsFloat(1250.5);
    query->FieldByName("COUNT")->SetAsInteger(7);
    query->FieldByName("DAY")->SetAsDateTime(EncodeDate(2024, 3, 5));
    query->FieldByName("NAME")->SetAsString("ผ้าป่า");
    query->FieldByName("PRICE")->SetAsFloat(1.005);
    query->Post();
    query->Append();
    query->Post();
    report = new TQuickRep(&host);
    report->SetDataSet(query);
    detail = AddBand(report, "DetailBand1", rbDetail, 30);
  }

  TQRDBText* AddField(const std::string& name, const std::string& field, const std::string& mask) {
    auto* text = AddItem<TQRDBText>(detail, name, 0, 0);
    text->SetDataSet(query);
    text->SetDataField(field);
    text->SetMask(mask);
    return text;
  }

  // The item of that name as printed for each row.
  std::vector<std::string> Printed(const std::string& name) {
    pages = report->Render();
    std::vector<std::string> texts;
    for (const TQRPrintedItem* item : AllItems(pages, name)) texts.push_back(item->text);
    return texts;
  }

  TComponent host{nullptr};
  TArrayDataSet* query = nullptr;
  TQuickRep* report = nullptr;
  TQRBand* detail = nullptr;
  TQRPrintedReport pages;
};

TEST_F(TextItemsTest, FieldTextsGoThroughTheirMasks) {
  struct Case {
    const char* field;
    const char* mask;
    const char* first_row;
  };
  const Case cases[] = {
      {"AMOUNT", "##,###,##0.00", "1,250.50"},
      {"AMOUNT", "", "1250.5"},
      {"PRICE", "0.00", "1.01"},
      {"COUNT", "000", "007"},
      {"DAY", "", "05/03/2567"},
      {"DAY", "yyyy-mm-dd", "2567-03-05"},
      {"NAME", "##0.00", "ผ้าป่า"},
      {"NAME", "", "ผ้าป่า"},
  };
  int index = 0;
  for (const Case& c : cases) AddField("QRDBText" + std::to_string(++index), c.field, c.mask);
  pages = report->Render();
  index = 0;
  for (const Case& c : cases) {
    const auto rows = AllItems(pages, "QRDBText" + std::to_string(++index));
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(c.first_row, rows[0]->text) << c.field << " " << c.mask;
    EXPECT_EQ("", rows[1]->text) << "a null " << c.field << " prints nothing";
  }
}

TEST_F(TextItemsTest, FieldOfAClosedDatasetPrintsNothing) {
  TComponent other_host(nullptr);
  auto* other = StaffQuery(&other_host, {{"1", "ผ้าป่า", 1, ""}});
  auto* text = AddField("QRDBText1", "per_name", "");
  text->SetDataSet(other);
  other->Close();
  EXPECT_EQ((std::vector<std::string>{"", ""}), Printed("QRDBText1"));
}

TEST_F(TextItemsTest, FieldItemForgetsAFreedDataset) {
  auto* other = StaffQuery(nullptr, {{"1", "ผ้าป่า", 1, ""}});
  auto* text = AddField("QRDBText1", "per_name", "");
  text->SetDataSet(other);
  delete other;
  EXPECT_EQ(nullptr, text->DataSet());
  EXPECT_EQ((std::vector<std::string>{"", ""}), Printed("QRDBText1"));
}

TEST_F(TextItemsTest, SystemDataOfTheRun) {
  struct Case {
    TQRSysDataType data;
    const char* text;
    const char* second_row;  // a clock's digits as 9
  };
  const Case cases[] = {
      {qrsDate, "", "99/99/9999"},
      {qrsTime, "เวลา ", "เวลา 99:99:99"},
      {qrsDateTime, "", "99/99/9999 99:99:99"},
      {qrsPageNumber, "หน้า ", "หน้า 1"},
      {qrsDetailNo, "", "2"},
      {qrsReportTitle, "", "รายงานการบริจาค"},
  };
  report->SetReportTitle("รายงานการบริจาค");
  int index = 0;
  for (const Case& c : cases) {
    auto* item = AddItem<TQRSysData>(detail, "QRSysData" + std::to_string(++index), 0, 0);
    item->SetData(c.data);
    item->SetText(c.text);
  }
  pages = report->Render();
  index = 0;
  for (const Case& c : cases) {
    const auto rows = AllItems(pages, "QRSysData" + std::to_string(++index));
    ASSERT_EQ(2u, rows.size());
    std::string printed = rows[1]->text;
    if (c.data == qrsDate || c.data == qrsTime || c.data == qrsDateTime) {
      std::replace_if(
          printed.begin(), printed.end(), [](char digit) { return digit >= '0' && digit <= '9'; }, '9');
    }
    EXPECT_EQ(c.second_row, printed);
  }
  EXPECT_EQ(BuddhistDateText(Date()), AllItems(pages, "QRSysData1")[0]->text);
}

TEST_F(TextItemsTest, ExpressionOfAFieldPrintsTheCurrentRow) {
  auto* expr = AddItem<TQRExpr>(detail, "QRExpr1", 0, 0);
  expr->SetExpression("Query1.AMOUNT");
  expr->SetMask("#,##0.00");
  auto* name = AddItem<TQRExpr>(detail, "QRExpr2", 0, 0);
  name->SetExpression("name");
  EXPECT_EQ((std::vector<std::string>{"1,250.50", ""}), Printed("QRExpr1"));
  EXPECT_EQ((std::vector<std::string>{"ผ้าป่า", ""}), Printed("QRExpr2"));
}

TEST_F(TextItemsTest, SumOfADatasetOfTheHostForm) {
  StaffQuery(&host, {{"1", "ก", 10, ""}}, "Query9");
  auto* expr = AddItem<TQRExpr>(detail, "QRExpr1", 0, 0);
  expr->SetExpression("SUM(Query9.per_salary)");
  expr->SetMask("0.00");
  // Printed in the detail band, the sum covers the row it prints on only.
  EXPECT_EQ((std::vector<std::string>{"10.00", "10.00"}), Printed("QRExpr1"));
}

TEST_F(TextItemsTest, ExpressionsThatCannotBeEvaluatedRaiseNamingTheItem) {
  struct Case {
    const char* expression;
    const char* message;
  };
  const Case cases[] = {
      {"AVG(Query1.AMOUNT)", "QRExpr1: cannot evaluate the expression 'AVG(Query1.AMOUNT)'"},
      {"SUM(Query1.AMOUNT", "QRExpr1: cannot evaluate the expression 'SUM(Query1.AMOUNT'"},
      {"Query1.", "QRExpr1: cannot evaluate the expression 'Query1.'"},
      {"SUM(Query7.AMOUNT)", "QRExpr1: the dataset 'Query7' is not known"},
  };
  auto* expr = AddItem<TQRExpr>(detail, "QRExpr1", 0, 0);
  for (const Case& c : cases) {
    expr->SetExpression(c.expression);
    try {
      report->Render();
      ADD_FAILURE() << "no error for " << c.expression;
    } catch (const EQuickReportError& error) {
      EXPECT_EQ(c.message, error.Message());
    }
  }
  expr->SetExpression("SUM(Query1.NOPE)");
  EXPECT_THROW(report->Render(), EDatabaseError);
}

TEST_F(TextItemsTest, LabelsPlaceThemselvesByAlignmentAutoSizeAndBand) {
  struct Case {
    TAlignment alignment;
    bool auto_size;
    bool align_to_band;
  };
  const Case cases[] = {
      {taLeftJustify, true, false},  {taRightJustify, true, false},  {taCenter, true, false},
      {taLeftJustify, false, false}, {taRightJustify, false, false}, {taLeftJustify, true, true},
      {taRightJustify, true, true},  {taCenter, true, true},
  };
  const std::string caption = "รวมทั้งสิ้น";
  int index = 0;
  for (const Case& c : cases) {
    auto* label = AddItem<TQRLabel>(detail, "QRLabel" + std::to_string(++index), 100, 4, 200, 20);
    label->SetCaption(caption);
    label->SetAlignment(c.alignment);
    label->SetAutoSize(c.auto_size);
    label->SetAlignToBand(c.align_to_band);
  }
  pages = report->Render();
  const TQRPrintedPage& page = pages.pages[0];
  const TQRRect band = page.BandsOf(rbDetail)[0]->bounds;
  const double text_width = TextWidth(report->Font(), caption) * kPixel;
  const double design_left = band.left + 100 * kPixel;
  const double design_right = band.left + 300 * kPixel;
  index = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("case " + std::to_string(index + 1));
    const TQRPrintedItem* item = page.Find("QRLabel" + std::to_string(++index));
    ASSERT_NE(nullptr, item);
    ASSERT_EQ(1u, item->lines.size());
    EXPECT_NEAR(c.auto_size ? text_width : 200 * kPixel, item->bounds.width, 1e-6);
    EXPECT_NEAR(band.top + 4 * kPixel, item->bounds.top, 1e-6);
    double expected_left = design_left;
    if (c.align_to_band) {
      expected_left = c.alignment == taLeftJustify    ? band.left
                      : c.alignment == taRightJustify ? band.Right() - item->bounds.width
                                                      : band.left + (band.width - item->bounds.width) / 2;
    } else if (c.auto_size && c.alignment == taRightJustify) {
      expected_left = design_right - text_width;
    } else if (c.auto_size && c.alignment == taCenter) {
      expected_left = (design_left + design_right - text_width) / 2;
    }
    EXPECT_NEAR(expected_left, item->bounds.left, 1e-6);
    // The text itself sits in the item by the alignment.
    const double line_left = item->lines[0].left - item->bounds.left;
    const double room = item->bounds.width - text_width;
    EXPECT_NEAR(c.alignment == taLeftJustify    ? 0
                : c.alignment == taRightJustify ? room
                                                : room / 2,
                line_left, 1e-6);
    EXPECT_GT(item->lines[0].baseline, item->bounds.top);
  }
}

// Thai vowels and tone marks that sit above or below their consonant.
bool IsThaiMark(char32_t c) {
  return c == 0x0E31 || (c >= 0x0E34 && c <= 0x0E3A) || (c >= 0x0E47 && c <= 0x0E4E);
}

char32_t FirstCodePoint(const std::string& text) {
  const QString q = QString::fromStdString(text);
  return q.isEmpty() ? 0 : q.toUcs4().front();
}

TEST_F(TextItemsTest, WordWrapBreaksThaiTextAtWordsWithinTheWidth) {
  const std::string blessing = "ขออำนาจคุณพระศรีรัตนตรัย และบุญกุศลที่บำเพ็ญนี้ จงดลบันดาลให้ท่านและครอบครัว  เจริญด้วยอายุ";
  auto* label = AddItem<TQRLabel>(detail, "QRLabel5", 10, 0, 180, 20);
  label->SetCaption(blessing);
  label->SetWordWrap(true);
  label->Font().SetName("CordiaUPC");
  label->Font().SetSize(14);
  pages = report->Render();
  const TQRPrintedItem* item = pages.pages[0].Find("QRLabel5");
  ASSERT_NE(nullptr, item);
  EXPECT_EQ(blessing, item->text);
  ASSERT_GE(item->lines.size(), 3u);
  std::string joined;
  for (const TQRTextLine& line : item->lines) {
    EXPECT_LE(TextWidth(label->Font(), line.text), 180 + 1e-6) << line.text;
    EXPECT_FALSE(IsThaiMark(FirstCodePoint(line.text))) << "a line starts inside a syllable: " << line.text;
    joined += line.text;
  }
  std::string unspaced = blessing;
  std::erase(unspaced, ' ');
  std::erase(joined, ' ');
  EXPECT_EQ(unspaced, joined);
  const TQRLineMetrics metrics = LineMetrics(label->Font());
  EXPECT_NEAR(item->lines.size() * metrics.height * kPixel, item->bounds.height, 1e-6);
  EXPECT_NEAR(metrics.height * kPixel, item->lines[1].baseline - item->lines[0].baseline, 1e-6);
}

TEST_F(TextItemsTest, LineBreaksInACaptionStartNewLines) {
  AddLabel(detail, "QRLabel1", "บรรทัดแรก\r\nบรรทัดที่สอง\nสาม", 0, 0);
  pages = report->Render();
  const TQRPrintedItem* item = pages.pages[0].Find("QRLabel1");
  ASSERT_EQ(3u, item->lines.size());
  EXPECT_EQ("บรรทัดที่สอง", item->lines[1].text);
  EXPECT_EQ("สาม", item->lines[2].text);
}

TEST_F(TextItemsTest, ItemsTakeTheReportFontUntilGivenTheirOwn) {
  report->Font().SetName("EucrosiaUPC");
  report->Font().SetSize(12);
  TQRLabel* plain = AddLabel(detail, "QRLabel1", "ก", 0, 0);
  TQRLabel* title = AddLabel(detail, "QRLabel2", "ข", 0, 0);
  title->Font().SetSize(18);
  TQRLabel* own = AddLabel(detail, "QRLabel3", "ค", 0, 0);
  TFont cordia;
  cordia.SetName("CordiaUPC");
  cordia.SetSize(14);
  own->SetFont(cordia);
  report->Font().SetSize(16);
  pages = report->Render();
  const TQRPrintedPage& page = pages.pages[0];
  EXPECT_TRUE(plain->ParentFont());
  EXPECT_EQ("EucrosiaUPC", page.Find("QRLabel1")->font.Name());
  EXPECT_EQ(16, page.Find("QRLabel1")->font.Size());
  EXPECT_EQ("EucrosiaUPC", page.Find("QRLabel2")->font.Name());
  EXPECT_EQ(18, page.Find("QRLabel2")->font.Size());
  EXPECT_EQ("CordiaUPC", page.Find("QRLabel3")->font.Name());
  EXPECT_EQ(14, page.Find("QRLabel3")->font.Size());
}

TEST_F(TextItemsTest, ShapesAndPicturesAreItemsOfTheirOwnKind) {
  ScratchFolder folder;
  QImage logo(40, 20, QImage::Format_RGB32);
  logo.fill(Qt::red);
  ASSERT_TRUE(logo.save(QString::fromStdString(folder.File("mylogo.jpg")), "JPG"));
  auto* shape = AddItem<TQRShape>(detail, "QRShape1", 0, 10, 300, 4);
  shape->SetShape(qrsHorLine);
  shape->SetPenWidth(2);
  auto* image = AddItem<TQRImage>(detail, "QRImage1", 10, 0, 96, 48);
  auto* empty = AddItem<TQRImage>(detail, "QRImage2", 10, 0, 96, 48);
  image->LoadFromFile(folder.File("mylogo.jpg"));
  EXPECT_THROW(empty->LoadFromFile(folder.File("missing.jpg")), EInvalidGraphic);
  pages = report->Render();
  const TQRPrintedPage& page = pages.pages[0];
  const TQRPrintedItem* line = page.Find("QRShape1");
  ASSERT_NE(nullptr, line);
  EXPECT_EQ("TQRShape", line->kind);
  EXPECT_EQ(qrsHorLine, line->shape);
  EXPECT_NEAR(2 * kPixel, line->pen_width, 1e-9);
  const TQRPrintedItem* picture = page.Find("QRImage1");
  ASSERT_NE(nullptr, picture);
  EXPECT_EQ("TQRImage", picture->kind);
  EXPECT_NEAR(25.4, picture->bounds.width, 1e-9);
  EXPECT_NEAR(12.7, picture->bounds.height, 1e-9);
  ASSERT_NE(nullptr, picture->picture);
  EXPECT_EQ(40, picture->picture->Width());
  EXPECT_EQ(nullptr, page.Find("QRImage2")) << "an image without a picture prints nothing";
  // A picture loaded after generation leaves the pages already made as they were.
  image->Clear();
  EXPECT_EQ(40, picture->picture->Width());
}

}  // namespace
