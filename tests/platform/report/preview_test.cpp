#include <gtest/gtest.h>

#include <filesystem>

#include "platform/report/PreviewService.h"
#include "platform/ui/Form.h"
#include "tests/platform/report/ReportTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace {

// Installs a headless preview for one test.
class HeadlessPreviewTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    auto headless = std::make_unique<THeadlessPreview>();
    preview = headless.get();
    previous_ = SetPreviewService(std::move(headless));
  }
  void TearDown() override {
    SetPreviewService(std::move(previous_));
    UiTest::TearDown();
  }

  THeadlessPreview* preview = nullptr;

 private:
  std::unique_ptr<TQRPreviewService> previous_;
};

TEST_F(HeadlessPreviewTest, PreviewKeepsThePagesAndFiresAfterPreviewOnce) {
  DonationReceipt receipt;
  std::vector<std::string> events;
  auto before_print = receipt.report->BeforePrint;
  receipt.report->BeforePrint = [&](TQuickRep* sender, bool& print) {
    before_print(sender, print);
    events.push_back("BeforePrint");
  };
  receipt.report->AfterPrint = [&](TObject*) { events.push_back("AfterPrint"); };
  receipt.report->AfterPreview = [&](TObject* sender) {
    EXPECT_EQ(receipt.report, sender);
    EXPECT_EQ(1u, preview->Previews().size()) << "AfterPreview comes once the preview has closed";
    events.push_back("AfterPreview");
  };
  receipt.report->Preview();
  EXPECT_EQ((std::vector<std::string>{"BeforePrint", "AfterPrint", "AfterPreview"}), events);
  ASSERT_EQ(1, preview->Last().PageCount());
  EXPECT_NE(nullptr, preview->Last().pages[0].FindText("ใบรับบริจาค"));
  EXPECT_EQ("400.00", preview->Last().pages[0].Find("QRLabel53")->text);
}

TEST_F(HeadlessPreviewTest, PrintingFromThePreviewGeneratesTheReportAgain) {
  ScratchFolder folder;
  DonationReceipt receipt;
  int before_print = 0;
  int after_print = 0;
  auto set_margins = receipt.report->BeforePrint;
  receipt.report->BeforePrint = [&](TQuickRep* sender, bool& print) {
    set_margins(sender, print);
    // The handlers reopen their queries: each generation reads the data anew.
    receipt.title->SetCaption("ใบรับบริจาค " + std::to_string(++before_print));
  };
  receipt.report->AfterPrint = [&](TObject*) { ++after_print; };
  TQRPrinterSettings printer;
  printer.output_file = folder.File("printed.pdf");
  preview->SetPrintFromPreview(printer);
  preview->SetPdfFile(folder.File("preview.pdf"));
  receipt.report->Preview();
  EXPECT_EQ(2, before_print);
  EXPECT_EQ(2, after_print);
  EXPECT_EQ("ใบรับบริจาค 2", preview->Last().pages[0].Find("QRLabel1")->text);
  for (const char* file : {"printed.pdf", "preview.pdf"}) {
    EXPECT_NE(std::string::npos, CommandOutput("pdftotext '" + folder.File(file) + "' -").find("ใบรับบริจาค 2"))
        << file;
  }
}

TEST_F(HeadlessPreviewTest, HostFormFreedInAfterPreviewGoesWithItsReport) {
  struct Case {
    const char* how;
    bool release;
  };
  for (const Case& c : {Case{"delete", false}, Case{"Release", true}}) {
    SCOPED_TRACE(c.how);
    auto* host = FormsApplication().CreateForm<TForm>();
    bool destroyed = false;
    host->OnDestroy = [&](TObject*) { destroyed = true; };
    auto* report = new TQuickRep(host);
    AddLabel(AddBand(report, "DetailBand1", rbDetail, 30), "QRLabel1", "ใบอนุโมทนาบัตร", 0, 0);
    report->AfterPreview = [host, release = c.release](TObject*) {
      if (release) {
        host->Release();
      } else {
        delete host;
      }
    };
    report->Preview();
    user::ProcessEvents();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(1, preview->Last().PageCount());
  }
}

TEST_F(HeadlessPreviewTest, FailedOrCancelledGenerationShowsNoPreview) {
  DonationReceipt receipt;
  int after_preview = 0;
  receipt.report->AfterPreview = [&](TObject*) { ++after_preview; };
  receipt.report->BeforePrint = [](TQuickRep*, bool& print) { print = false; };
  receipt.report->Preview();
  receipt.report->BeforePrint = [](TQuickRep*, bool&) {
    throw EInvalidGraphic("Cannot open file \"mylogo.jpg\"");
  };
  EXPECT_THROW(receipt.report->Preview(), EInvalidGraphic);
  EXPECT_TRUE(preview->Previews().empty());
  EXPECT_EQ(0, after_preview);
  EXPECT_THROW(preview->Last(), EQuickReportError);
}

}  // namespace
