// The donation window and its printouts on a database file, through the SQL
// engine: the stored donation of the series with its lines and total, and its
// receipt read by the report window's own connection.
#include <gtest/gtest.h>

#include <memory>

#include "app/core/myVar.h"
#include "app/donation/cdonate.h"
#include "platform/report/PreviewService.h"
#include "tests/app/core/support/MdiFrame.h"
#include "tests/app/core/support/TempleDatabaseTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

namespace {

class DonationOnFileTest : public TempleDatabaseTest {
 protected:
  void SetUp() override {
    TempleDatabaseTest::SetUp();
    AddSampleRows();
    MdiFrame::Open();
    auto preview = std::make_unique<THeadlessPreview>();
    preview_ = preview.get();
    previous_ = SetPreviewService(std::move(preview));
  }
  void TearDown() override {
    // The windows close before the engine runtime ends.
    Application().DestroyComponents();
    user::ProcessEvents();
    SetPreviewService(std::move(previous_));
    TempleDatabaseTest::TearDown();
  }

  THeadlessPreview* preview_ = nullptr;
  std::unique_ptr<TQRPreviewService> previous_;
};

TEST_F(DonationOnFileTest, TheStoredDonationShowsWithItsLinesAndPrintsItsReceipt) {
  Tdonate& w = *FormsApplication().CreateForm<Tdonate>();
  w.Show();
  user::ProcessEvents();
  EXPECT_EQ(seen::Text(w.Edit16), kSampleDonationNo);
  EXPECT_EQ(seen::Text(w.Edit2), kSampleDonorName);
  EXPECT_EQ(seen::Text(w.Edit19), "05/03/2567");
  EXPECT_EQ(seen::RowCount(w.DBGrid2), 2);
  EXPECT_EQ(seen::Text(w.Label26), "1,500.00");

  user::Click(w.Button18);
  const TQRPrintedPage& page = preview_->Last().pages.at(0);
  EXPECT_EQ(page.Find("QRLabel57")->text, "DONA-1-000001");
  EXPECT_EQ(page.Find("QRLabel53")->text, "1,500.00");
  EXPECT_EQ(page.FindAll("QRDBText7").size(), 2u);
}

}  // namespace
