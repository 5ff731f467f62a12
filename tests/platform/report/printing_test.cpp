#include <gtest/gtest.h>

#include <cstring>
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "tests/platform/report/ReportTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace {

// The text after `key` on the line of `text` that holds it, trimmed.
std::string Field(const std::string& text, const std::string& key) {
  const size_t at = text.find(key);
  if (at == std::string::npos) return {};
  const size_t start = text.find_first_not_of(' ', at + key.size());
  return text.substr(start, text.find('\n', start) - start);
}

// "612 x 396" from pdfinfo's page size of the given page.
std::string PageSize(const std::string& pdf, int page = 1) {
  const std::string number = std::to_string(page);
  const std::string size =
      Field(CommandOutput("pdfinfo -f " + number + " -l " + number + " '" + pdf + "' 2>&1"), "size:");
  return size.substr(0, size.find(" pts"));
}

int PageCount(const std::string& pdf) {
  const std::string pages = Field(CommandOutput("pdfinfo '" + pdf + "' 2>&1"), "Pages:");
  return pages.empty() ? -1 : std::stoi(pages);
}

std::string Text(const std::string& pdf) {
  return CommandOutput("pdftotext -layout '" + pdf + "' - 2>&1");
}

// The names of the fonts pdffonts lists as embedded (its columns end with
// "emb sub uni object ID").
std::vector<std::string> EmbeddedFonts(const std::string& pdf) {
  std::vector<std::string> fonts;
  std::istringstream lines(CommandOutput("pdffonts '" + pdf + "' 2>&1"));
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::vector<std::string> columns{std::istream_iterator<std::string>(words), {}};
    if (columns.size() >= 7 && columns[columns.size() - 5] == "yes") fonts.push_back(columns[0]);
  }
  return fonts;
}

struct PdfWord {
  std::string text;
  double x_min, y_min, x_max, y_max;  // points from the top left corner
};

// The words of pdftotext's bounding-box listing.
std::vector<PdfWord> Words(const std::string& pdf) {
  std::vector<PdfWord> words;
  std::istringstream lines(CommandOutput("pdftotext -bbox '" + pdf + "' - 2>&1"));
  std::string line;
  auto number = [&](const char* name) {
    const size_t at = line.find(std::string(name) + "=\"");
    return std::stod(line.substr(at + std::strlen(name) + 2));
  };
  while (std::getline(lines, line)) {
    if (line.find("<word ") == std::string::npos) continue;
    const size_t text = line.find('>') + 1;
    words.push_back({line.substr(text, line.find("</word>") - text), number("xMin"), number("yMin"),
                     number("xMax"), number("yMax")});
  }
  return words;
}

constexpr double kPointsPerMm = 72 / 25.4;

TEST(PrintingTest, ReceiptPdfHasItsCustomPageAndThaiText) {
  ScratchFolder folder;
  DonationReceipt receipt;
  const std::string pdf = folder.File("receipt.pdf");
  receipt.report->ExportToPdf(pdf);
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_EQ("612 x 396", PageSize(pdf));
  const std::string text = Text(pdf);
  for (const char* expected : {"ใบรับบริจาค", "ขออนุโมทนา", "นายสมชาย ใจบุญ", "400.00", "250.50"}) {
    EXPECT_NE(std::string::npos, text.find(expected)) << expected << " not in\n" << text;
  }
  // The text on paper keeps inside the margins set in BeforePrint: top 10, left 5, bottom 12 mm.
  const std::vector<PdfWord> words = Words(pdf);
  ASSERT_GT(words.size(), 10u);
  for (const PdfWord& word : words) {
    EXPECT_GE(word.x_min, 5 * kPointsPerMm - 0.01) << word.text;
    EXPECT_GE(word.y_min, 10 * kPointsPerMm) << word.text;
    EXPECT_LE(word.y_max, 127.7 * kPointsPerMm) << word.text;
  }
  const std::vector<std::string> fonts = EmbeddedFonts(pdf);
  ASSERT_FALSE(fonts.empty()) << CommandOutput("pdffonts '" + pdf + "'");
  EXPECT_TRUE(std::any_of(fonts.begin(), fonts.end(), [](const std::string& font) {
    return font.find("Umpush") != std::string::npos;
  })) << CommandOutput("pdffonts '" + pdf + "'");
}

TEST(PrintingTest, ThaiTextComesBackWholeFromThePdf) {
  const std::vector<std::string> texts{"ผ้าป่าสามัคคี", "ค่าน้ำค่าไฟ", "ได้รับเงินจาก", "นายสมชาย ใจบุญ"};
  DonationReceipt receipt;
  for (size_t i = 0; i < texts.size(); ++i) {
    AddLabel(receipt.footer, "Thai" + std::to_string(i), texts[i], 40 + 200 * static_cast<int>(i), 60);
  }
  receipt.title->Font().SetStyle({fsBold});
  ScratchFolder folder;
  const std::string exported = folder.File("exported.pdf");
  receipt.report->ExportToPdf(exported);
  const std::string printed = folder.File("printed.pdf");
  receipt.report->PrinterSettings().output_file = printed;
  receipt.report->Print();
  for (const std::string& pdf : {exported, printed}) {
    const std::string text = CommandOutput("pdftotext '" + pdf + "' - 2>&1");
    for (const std::string& expected : texts) EXPECT_NE(std::string::npos, text.find(expected)) << expected << " not in\n" << text;
    EXPECT_NE(std::string::npos, text.find("ใบรับบริจาค")) << text;
    // The words keep their places on the page.
    const std::vector<PdfWord> words = Words(pdf);
    const auto word = std::find_if(words.begin(), words.end(), [](const PdfWord& w) { return w.text == "ได้รับเงินจาก"; });
    ASSERT_NE(word, words.end());
    EXPECT_NEAR(word->x_min, (5 + 440 * 25.4 / 96) * kPointsPerMm, 3);
  }
}

TEST(PrintingTest, PrinterPathWritesThePagesChosen) {
  ScratchFolder folder;
  DonationReceipt receipt;
  receipt.detail->SetHeight(300);
  const std::string all = folder.File("all.pdf");
  receipt.report->PrinterSettings().output_file = all;
  receipt.report->Print();
  ASSERT_EQ(3, PageCount(all));
  EXPECT_EQ("612 x 396", PageSize(all, 3));
  EXPECT_NE(std::string::npos, Text(all).find("ใบรับบริจาค"));

  const std::string second = folder.File("second.pdf");
  receipt.report->PrinterSettings().first_page = 2;
  receipt.report->PrinterSettings().last_page = 2;
  receipt.report->PrinterSettings().output_file = second;
  receipt.report->Print();
  ASSERT_EQ(1, PageCount(second));
  EXPECT_NE(std::string::npos, Text(second).find("250.50"));
  EXPECT_EQ(std::string::npos, Text(second).find("100.00"));
}

TEST(PrintingTest, PaperSizesReachThePdf) {
  struct Case {
    TQRPaperSize paper;
    const char* points;
  };
  for (const Case& c : {Case{TQRPaperSize::Letter, "612 x 792"}, Case{TQRPaperSize::A4, "595 x 842"}}) {
    ScratchFolder folder;
    DonationReceipt receipt;
    receipt.report->Page().SetPaperSize(c.paper);
    receipt.report->ExportToPdf(folder.File("paper.pdf"));
    EXPECT_EQ(c.points, PageSize(folder.File("paper.pdf")));
  }
}

TEST(PrintingTest, NothingIsWrittenWithoutPages) {
  ScratchFolder folder;
  DonationReceipt receipt;
  receipt.report->SetDataSet(StaffQuery(&receipt.host, {}));
  receipt.report->SetPrintIfEmpty(false);
  int after_print = 0;
  receipt.report->AfterPrint = [&](TObject*) { ++after_print; };
  receipt.report->ExportToPdf(folder.File("empty.pdf"));
  receipt.report->PrinterSettings().output_file = folder.File("printed.pdf");
  receipt.report->Print();
  EXPECT_TRUE(folder.Files().empty());
  EXPECT_EQ(2, after_print);
}

TEST(PrintingTest, UnwritablePdfRaises) {
  DonationReceipt receipt;
  const std::string file = "/nonexistent-folder/receipt.pdf";
  for (const auto& produce :
       std::vector<std::function<void()>>{[&] { receipt.report->ExportToPdf(file); },
                                          [&] {
                                            receipt.report->PrinterSettings().output_file = file;
                                            receipt.report->Print();
                                          }}) {
    try {
      produce();
      ADD_FAILURE() << "no error";
    } catch (const EQuickReportError& error) {
      EXPECT_EQ("Cannot write the PDF file \"" + file + "\"", error.Message());
    }
  }
}

}  // namespace
