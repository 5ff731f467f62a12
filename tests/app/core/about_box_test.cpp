// The about box: the licence text in Thai, a missing licence file, the links
// and the one way to close it.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/core/AboutMe.h"
#include "app/core/InstallEngineUi.h"
#include "app/core/WorkingFolder.h"
#include "platform/rtl/CodePage874.h"
#include "tests/app/core/support/RegisterDatabase.h"
#include "tests/platform/ui/support/Seen.h"

namespace {

class AboutBox : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    installed_ = InstallEngineUi();
    FormsApplication().CreateForm<TTestFrame>()->Show();
  }
  void TearDown() override {
    Application().DestroyComponents();
    user::ProcessEvents();
    installed_.reset();
    UiTest::TearDown();
  }

  TAboutMe& Open() {
    auto* box = FormsApplication().CreateForm<TAboutMe>();
    user::ProcessEvents();
    return *box;
  }

  bool StillOpen() {
    user::ProcessEvents();
    return FormsApplication().Newest<TAboutMe>() != nullptr;
  }

  ScratchFolder folder_;
  ScopedWorkingFolder working_folder_{folder_.Path()};
  std::unique_ptr<TInstalledEngineUi> installed_;
};

TEST_F(AboutBox, ShowsTheThaiLicenceTextOfTheFileInCodePage874) {
  std::ofstream(WorkingPath(kLicenceFileName), std::ios::binary)
      << Utf8ToCp874("สัญญาอนุญาตให้ใช้โปรแกรม\r\nวัดตัวอย่าง\r\n");
  TAboutMe& box = Open();
  EXPECT_EQ(seen::Caption(box), " Quillmark");
  EXPECT_EQ(seen::Text(*box.Memo1), "สัญญาอนุญาตให้ใช้โปรแกรม\nวัดตัวอย่าง");
  EXPECT_TRUE(Dialogs().Transcript().empty());
}

TEST_F(AboutBox, WithoutTheLicenceFileTheErrorIsShownAndTheBoxStaysOpenEmpty) {
  Dialogs().Answer(mrOk);
  TAboutMe& box = Open();
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_NE(Dialogs().Transcript()[0].text.find(std::string(kLicenceFileName)), std::string::npos)
      << Dialogs().Transcript()[0].text;
  EXPECT_EQ(seen::Text(*box.Memo1), "");
  EXPECT_TRUE(StillOpen());
  EXPECT_TRUE(seen::OnScreen(box));
}

TEST_F(AboutBox, OnlyAClickOnThePictureClosesIt) {
  std::ofstream(WorkingPath(kLicenceFileName)) << "licence";
  TAboutMe& box = Open();
  user::Click(*box.Memo1);
  user::Click(*box.Label1);
  user::PressEscape();
  EXPECT_TRUE(StillOpen());
  user::Click(*box.Image2);
  EXPECT_FALSE(StillOpen());
}

TEST_F(AboutBox, TheLinksOpenOurPagesWithTheSystem) {
  std::ofstream(WorkingPath(kLicenceFileName)) << "licence";
  TAboutMe& box = Open();
  user::Click(*box.Label6);
  user::Click(*box.Label8);
  EXPECT_EQ(Dialogs().Opened(), (std::vector<std::string>{kAboutWebPage, kAboutSupportPage}));
}

}  // namespace
