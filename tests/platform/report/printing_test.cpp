#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "tests/platform/report/ReportTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace {

// "612 x 396" from pdfinfo's "Page size:" line of the given page.
std::string PageSize(const std::string& pdf, int page = 1) {
  const std::string info = CommandOutput("pdfinfo -f " + std::to_string(page) + " -l " +
                                         std::to_string(page) + " '" + pdf + "' 2>&1");
  std::smatch match;
  if (!std::regex_search(info, match, std::regex(R"(Page +\d* *size: +([\d.]+ x [\d.]+) pts)"))) return info;
  return match[1];
}

int PageCount(const std::string& pdf) {
  std::smatch match;
  const std::string info = CommandOutput("pdfinfo '" + pdf + "' 2>&1");
  return std::regex_search(info, match, std::regex(R"(Pages: +(\d+))")) ? std::stoi(match[1]) : -1;
}

std::string Text(const std::string& pdf) {
  return CommandOutput("pdftotext -layout '" + pdf + "' - 2>&1");
}

// The names of the fonts pdffonts lists as embedded.
std::vector<std::string> EmbeddedFonts(const std::string& pdf) {
  std::vector<std::string> fonts;
  const std::string listing = CommandOutput("pdffonts '" + pdf + "' 2>&1");
  std::istringstream lines(listing);
  std::string line;
  while (std::getline(lines, line)) {
    std::smatch match;
    if (std::regex_search(line, match, std::regex(R"(^(\S+) .* yes +(yes|no) +(yes|no) +\d+ +\d+\s*$)"))) {
      fonts.push_back(match[1]);
    }
  }
  return fonts;
}

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
  const std::vector<std::string> fonts = EmbeddedFonts(pdf);
  ASSERT_FALSE(fonts.empty()) << CommandOutput("pdffonts '" + pdf + "'");
  EXPECT_TRUE(std::any_of(fonts.begin(), fonts.end(), [](const std::string& font) {
    return font.find("Umpush") != std::string::npos;
  })) << CommandOutput("pdffonts '" + pdf + "'");
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
  receipt.report->PrinterSettings() = {.output_file = second, .first_page = 2, .last_page = 2};
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
  EXPECT_THROW(receipt.report->ExportToPdf("/nonexistent-folder/receipt.pdf"), EQuickReportError);
}

}  // namespace
