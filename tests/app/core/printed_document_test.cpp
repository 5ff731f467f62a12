// The steps that every printed document shares: the margins from the print
// offsets, the organisation's address and contact lines, the paper mode and
// the logo that prints only when it is asked for and can be read.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/core/DocumentAddress.h"
#include "app/core/DocumentPage.h"
#include "platform/report/QuickRpt.h"
#include "tests/app/core/support/ScopedWorkingFolder.h"
#include "tests/platform/ui/support/UiTest.h"
#include "tests/support/ScratchFolder.h"

namespace {

TEST(DocumentPage, MarginsComeFromTheOffsetsAndTheBottomNeverGoesNegative) {
  struct Case {
    double top, left, bottom;
  };
  for (const Case& c : {Case{10, 5, 12}, Case{0, 0, 22}, Case{22, 3, 0}, Case{30, 5, 0}}) {
    TQRPage page;
    SetUpDocumentPage(page, c.top, c.left);
    EXPECT_EQ(page.TopMargin(), c.top);
    EXPECT_EQ(page.LeftMargin(), c.left);
    EXPECT_EQ(page.BottomMargin(), c.bottom) << "top " << c.top;
  }
}

TEST(DocumentAddress, OrganisationLinesKeepTheirBlanksAndTheContactLineOnlyWhatIsThere) {
  EXPECT_EQ(OrganisationAddressLine({" 1 ถนนวัด ", "", "เชียงใหม่", "50000"}), "1 ถนนวัด  เชียงใหม่ 50000 ");
  struct Case {
    const char *tel, *fax, *email, *line;
  };
  for (const Case& c : {Case{" 053-111 ", "053-222", "a@b.th", "Tel. 053-111 Fax. 053-222 Email : a@b.th"},
                        Case{"  ", "053-222", "", " Fax. 053-222"}, Case{"", "", "a@b.th", " Email : a@b.th"},
                        Case{"", " ", "", ""}}) {
    EXPECT_EQ(ContactLine(c.tel, c.fax, c.email), c.line);
  }
  EXPECT_EQ(JoinAddressParts({"1 ถนนวัด", "", " ", "50000"}), "1 ถนนวัด 50000")
      << "a donor without address lines 2 and 4";
}

class DocumentItemsTest : public UiTest {
 protected:
  TComponent host_{nullptr};
  TQuickRep* report_ = new TQuickRep(&host_);
  TQRBand* band_ = new TQRBand(report_, rbPageHeader);
  TQRShape* frame_ = new TQRShape(band_);
  TQRLabel* heading_ = new TQRLabel(band_);
  TQRLabel* title_ = new TQRLabel(band_);
  TQRImage* logo_ = new TQRImage(band_);
};

TEST_F(DocumentItemsTest, ThePaperModeLeavesOutTheFormsOwnItemsOnAPrePrintedForm) {
  struct Case {
    const char* mode;
    bool form_items;
  };
  for (const Case& c : {Case{"1", false}, Case{"0", true}, Case{"1", false}, Case{"7", false}, Case{"", false}}) {
    title_->SetEnabled(false);
    ApplyPaperMode(c.mode, {frame_, heading_}, {title_});
    EXPECT_EQ(frame_->Enabled(), c.form_items) << "mode " << c.mode;
    EXPECT_EQ(heading_->Enabled(), c.form_items) << "mode " << c.mode;
    EXPECT_EQ(title_->Enabled(), c.mode == std::string("0") || c.mode == std::string("1")) << "mode " << c.mode;
  }
}

TEST_F(DocumentItemsTest, TheLogoIsLoadedOnlyWhenPrintedAndAMissingOneMovesTheLinesBeside) {
  ScratchFolder folder;
  ScopedWorkingFolder working(folder.Path());
  struct Case {
    const char* print_logo;
    const char* file;  // null: no logo file
    bool printed;
  };
  for (const Case& c : {Case{"1", nullptr, false}, Case{"1", "not a picture", false}, Case{"0", nullptr, false},
                        Case{"1", "", true}, Case{"0", "", false}}) {
    std::filesystem::remove(folder.File("mylogo.jpg"));
    if (c.file != nullptr && *c.file) std::ofstream(folder.File("mylogo.jpg")) << c.file;
    if (c.file != nullptr && !*c.file) ASSERT_TRUE(user::SavePhoto(folder.File("mylogo.jpg")));
    logo_->Clear();
    EXPECT_EQ(PlaceLogo(*logo_, c.print_logo, {title_}, 65, 11), c.printed) << c.print_logo;
    EXPECT_EQ(logo_->Enabled(), c.printed);
    EXPECT_EQ(title_->Left(), c.printed ? 65 : 11);
    EXPECT_EQ(logo_->Picture().Empty(), !c.printed) << "the picture is read only when it prints";
  }
}

}  // namespace
