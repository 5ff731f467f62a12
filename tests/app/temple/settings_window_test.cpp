// The temple program's settings window over the real sys_sys row: the
// voucher layouts and prefixes it shows, the prefix check of the save, no
// change without "แก้ไข", the restart message on every close, and the row
// lock against another user.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/temple/Ref_Temple_Sys.h"
#include "platform/os/RetryPolicy.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class TempleSettings : public TempleWindowTest {
 protected:
  TRef_Temple_Sys& Open() {
    auto* window = FormsApplication().CreateForm<TRef_Temple_Sys>();
    user::ProcessEvents();
    return *window;
  }
  static void Retype(TDBEdit& box, const std::string& text) {
    box.SetFocus();
    box.SelectAll();
    user::Type(text);
  }
  Rows StoredSettings() { return Stored("sys_sys", {"prefix1", "prefix3", "view1", "view3", "prn_logo"}); }
};

TEST_F(TempleSettings, ShowsTheVoucherSettingsAndKeepsTheOthersHidden) {
  TRef_Temple_Sys& w = Open();
  EXPECT_EQ(seen::Caption(w), " ข้อมูลอ้างอิง ระบบการทำงาน");
  EXPECT_EQ(seen::Text(*w.DBEdit8), "LAND");
  EXPECT_EQ(seen::Text(*w.DBEdit6), "HALL");
  EXPECT_EQ(w.DBRadioGroup3->Items().at(1), "แบบที่ 2 ( กระดาษสั้น 8.5 * 5.5 นิ้ว)");
  EXPECT_EQ(w.DBRadioGroup3->ItemIndex(), 0);
  EXPECT_EQ(w.DBRadioGroup4->ItemIndex(), 0);
  for (const TControl* shown : std::vector<const TControl*>{w.DBRadioGroup1, w.DBRadioGroup3, w.DBRadioGroup4,
                                                            w.DBRadioGroup5, w.DBEdit2, w.DBEdit3, w.DBEdit4})
    EXPECT_TRUE(seen::Visible(*shown)) << shown->Name();
  for (const TControl* hidden : std::vector<const TControl*>{w.DBRadioGroup6, w.DBRadioGroup7, w.DBRadioGroup8,
                                                             w.DBRadioGroup9, w.DBRadioGroup2, w.DBEdit7,
                                                             w.SpeedButton1, w.SpeedButton4, w.DBNavigator1})
    EXPECT_FALSE(seen::Visible(*hidden)) << hidden->Name();
}

TEST_F(TempleSettings, APrefixOfOtherThanFourCharactersIsRefusedAndFourAreStored) {
  TRef_Temple_Sys& w = Open();
  user::Click(*w.SpeedButton3);
  Retype(*w.DBEdit8, " AB ");
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton8);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "รหัสนำหน้าใบรับ / ใบคืน ไม่ครบ 4 หลัก...");
  EXPECT_EQ(w.Table4->State(), dsEdit);
  EXPECT_EQ(StoredSettings(), (Rows{{"LAND", "HALL", "0", "0", "0"}}));
  Retype(*w.DBEdit8, "ABCD");
  user::ClickItem(*w.DBRadioGroup4, 1);
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(StoredSettings(), (Rows{{"ABCD", "HALL", "1", "0", "0"}}));
  EXPECT_TRUE(w.SpeedButton3->Enabled());
  EXPECT_FALSE(w.SpeedButton8->Enabled());
}

TEST_F(TempleSettings, AClickWhileBrowsingChangesNothingAndClosingSaysToRestart) {
  TRef_Temple_Sys& w = Open();
  user::ClickItem(*w.DBRadioGroup5, 1);
  EXPECT_EQ(w.Table4->State(), dsBrowse) << "no automatic editing";
  EXPECT_EQ(w.DBRadioGroup5->ItemIndex(), 0);
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton2);
  user::ProcessEvents();
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "ต้องปิดโปรแกรมนี้ก่อน เมื่อเปิดขึ้นมาใหม่ค่าที่แก้ไขจึงจะมีผล...");
  EXPECT_EQ(FormsApplication().Newest<TRef_Temple_Sys>(), nullptr);
  EXPECT_EQ(StoredSettings(), (Rows{{"LAND", "HALL", "0", "0", "0"}}));
}

TEST_F(TempleSettings, ARowHeldByAnotherUserMeetsTheRecordLockedQuestion) {
  ScopedRetryCaps quick({2, 1});
  TVTRTable& other = OtherUser("sys_sys");
  other.Open();
  other.Edit();
  TRef_Temple_Sys& w = Open();
  Dialogs().Answer(mrNo);
  user::Click(*w.SpeedButton3);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "Record locked ต้องการลองใหม่อีกครั้งหรือไม่ ?");
  EXPECT_EQ(w.Table4->State(), dsBrowse);
  other.Cancel();
  other.Close();
  user::Click(*w.SpeedButton3);
  EXPECT_EQ(w.Table4->State(), dsEdit) << "the row is free again";
}

TEST_F(TempleSettings, ASecondProgramsEditOfTheHeldRowMeetsTheRecordLockedQuestion) {
  TRef_Temple_Sys& w = Open();
  user::Click(*w.SpeedButton3);
  ASSERT_EQ(w.Table4->State(), dsEdit);
  const std::string command =
      std::string(VTR_TEMPLE_SETTINGS_HELPER) + " '" + database_file_.parent_path().string() + "'";
  FILE* helper = popen(command.c_str(), "r");
  ASSERT_NE(helper, nullptr);
  char line[512] = {};
  const bool read = std::fgets(line, sizeof line, helper) != nullptr;
  EXPECT_EQ(pclose(helper), 0);
  ASSERT_TRUE(read);
  EXPECT_EQ(std::string(line), "Record locked ต้องการลองใหม่อีกครั้งหรือไม่ ?|edit 0\n");
  user::Click(*w.SpeedButton6);
}

}  // namespace
