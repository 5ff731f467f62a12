// The text of PDF files given back to text readers: marked only where the file
// shows what was drawn, and never changing how the pages look.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <fstream>
#include <functional>
#include <iterator>

#include "platform/report/internal/PdfText.h"
#include "platform/report/internal/QtReport.h"
#include "tests/platform/report/ReportTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace {

std::string ReadFile(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}

TEST(PdfTextTest, MarkingGivesTheTextBackAndLeavesThePicture) {
  ScratchFolder folder;
  DonationReceipt receipt;
  const std::string marked = folder.File("marked.pdf");
  receipt.report->ExportToPdf(marked);
  // Qt's file is all up to its first end: the marks follow it as an update.
  const std::string bytes = ReadFile(marked);
  const std::string qt = folder.File("qt.pdf");
  WriteFile(qt, bytes.substr(0, bytes.find("%%EOF") + 6));
  ASSERT_LT(ReadFile(qt).size(), bytes.size());

  // Qt's own text loses the tone mark of "ผ้าป่า" and splits sara am.
  const std::string qt_text = CommandOutput("pdftotext '" + qt + "' -");
  const std::string marked_text = CommandOutput("pdftotext '" + marked + "' -");
  for (const char* word : {"ผ้าป่า", "บำรุงวัด", "ค่าน้ำค่าไฟ"}) {
    EXPECT_EQ(std::string::npos, qt_text.find(word)) << word;
    EXPECT_NE(std::string::npos, marked_text.find(word)) << word;
  }
  for (const std::string& pdf : {qt, marked}) {
    CommandOutput("pdftoppm -r 50 -png '" + pdf + "' '" + pdf + "'");
  }
  const std::string qt_picture = ReadFile(qt + "-1.png");
  EXPECT_FALSE(qt_picture.empty());
  EXPECT_EQ(ReadFile(marked + "-1.png"), qt_picture);
}

// Qt's PDF of a two-page receipt and what was drawn on each page.
struct DrawnPdf {
  std::string pdf;
  std::vector<TPdfPageText> pages;
};

DrawnPdf DrawReceipt() {
  DonationReceipt receipt;
  receipt.detail->SetHeight(300);
  const TQRPrintedReport report = receipt.report->Render();
  DrawnPdf drawn;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setPageLayout(PaperLayout(report));
    QPainter painter(&writer);
    for (const TQRPrintedPage& page : report.pages) {
      if (page.number > 1) writer.newPage();
      PaintPage(painter, page, writer.resolution() / 25.4, &drawn.pages.emplace_back());
    }
  }
  drawn.pdf = buffer.data().toStdString();
  return drawn;
}

TEST(PdfTextTest, AFileThatDoesNotShowWhatWasDrawnStaysAsItIs) {
  const DrawnPdf drawn = DrawReceipt();
  ASSERT_GE(drawn.pages.size(), 2u);
  const std::string marked = WithActualText(drawn.pdf, drawn.pages);
  ASSERT_TRUE(marked.size() > drawn.pdf.size() && marked.compare(0, drawn.pdf.size(), drawn.pdf) == 0);

  // A first page that shows other glyphs than recorded stays as Qt wrote it,
  // as when nothing was recorded for it; the other pages are marked.
  std::vector<TPdfPageText> unrecorded_first = drawn.pages;
  unrecorded_first[0].clear();
  const std::string first_unmarked = WithActualText(drawn.pdf, unrecorded_first);
  ASSERT_TRUE(first_unmarked != marked && first_unmarked != drawn.pdf);
  ASSERT_NE(drawn.pages[0][0].glyphs[0], drawn.pages[0][1].glyphs[0]);

  struct Case {
    const char* what;
    std::function<void(std::string& pdf, std::vector<TPdfPageText>& pages)> change;
    bool whole_file;
  };
  const Case cases[] = {
      {"a glyph fewer", [](std::string&, std::vector<TPdfPageText>& pages) { pages[0][0].glyphs.pop_back(); },
       false},
      {"another glyph",
       [](std::string&, std::vector<TPdfPageText>& pages) { pages[0][0].glyphs[0] = pages[0][1].glyphs[0]; }, false},
      {"a page more", [](std::string&, std::vector<TPdfPageText>& pages) { pages.push_back(pages[0]); }, true},
      {"a file updated already", [&](std::string& pdf, std::vector<TPdfPageText>&) { pdf = marked; }, true},
      {"no PDF", [](std::string& pdf, std::vector<TPdfPageText>&) { pdf = "%PDF-1.4\nnot really\n"; }, true},
  };
  for (const Case& c : cases) {
    std::string pdf = drawn.pdf;
    std::vector<TPdfPageText> pages = drawn.pages;
    c.change(pdf, pages);
    // The whole files are too long to print.
    EXPECT_TRUE(WithActualText(pdf, pages) == (c.whole_file ? pdf : first_unmarked)) << c.what;
  }
}

}  // namespace
