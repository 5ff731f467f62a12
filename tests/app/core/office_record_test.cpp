// The temple office record window over a real tresksys table.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/core/Ref_Office.h"
#include "tests/app/core/support/RegisterDatabase.h"
#include "tests/platform/ui/support/Seen.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class OfficeRecord : public RegisterDatabaseTest {
 protected:
  void SetUp() override {
    RegisterDatabaseTest::SetUp();
    TVTRTable& table = OtherUser("tresksys");
    table.FieldDefs().Add("of_id", ftInteger);
    for (const char* column : {"of_name", "of_taxid", "of_add1", "of_add2", "of_add4", "of_zip", "of_tel", "of_fax",
                               "of_email"})
      table.FieldDefs().Add(column, ftString, 60);
    table.CreateTable();
    Store("tresksys", {{"1", "วัดเก่า", "0990001", "", "", "", "", "", "", ""},
                       {"2", "วัดป่า", "0994000123456", "1 ถนนวัด", "ตำบลป่า", "เชียงใหม่", "50000", "053111111",
                        "053222222", "wat@example.org"}});
  }

  TRef_Office& Open() {
    auto* window = FormsApplication().CreateForm<TRef_Office>();
    user::ProcessEvents();
    return *window;
  }
};

TEST_F(OfficeRecord, WithoutALogoTheWindowOpensOnTheRowWithAnEmptyPicture) {
  for (const char* logo : {"", "not a picture"}) {
    SCOPED_TRACE(*logo ? "unreadable logo" : "no logo");
    if (*logo) std::ofstream(WorkingPath(kLogoFileName)) << logo;
    TRef_Office& w = Open();
    EXPECT_EQ(seen::Caption(w), " ข้อมูลอ้างอิง ศาสนสถาน");
    EXPECT_EQ(seen::Text(*w.Edit1), "วัดป่า");
    EXPECT_EQ(seen::Text(*w.Edit9), "wat@example.org");
    EXPECT_FALSE(seen::Visible(*w.Edit2)) << "the tax number is not shown";
    EXPECT_FALSE(seen::Visible(*w.SpeedButton1));
    EXPECT_FALSE(seen::Visible(*w.SpeedButton4));
    EXPECT_FALSE(seen::Visible(*w.DBNavigator1));
    EXPECT_TRUE(w.Image1->Picture().Empty());
    EXPECT_TRUE(Dialogs().Transcript().empty());
    user::Click(*w.SpeedButton2);
    user::ProcessEvents();
  }
}

TEST_F(OfficeRecord, EnterMovesFromTheNameThroughTheAddressToTheMailAndBack) {
  TRef_Office& w = Open();
  user::Click(*w.SpeedButton3);
  EXPECT_TRUE(seen::HasFocus(*w.Edit1));
  for (TEdit* next : {w.Edit3, w.Edit4, w.Edit5, w.Edit6, w.Edit7, w.Edit8, w.Edit9, w.Edit1}) {
    user::PressEnter();
    EXPECT_TRUE(seen::HasFocus(*next)) << seen::Text(*next);
  }
}

TEST_F(OfficeRecord, ASavedEditChangesTheRowOfItsIdAndKeepsTheTaxNumber) {
  TRef_Office& w = Open();
  user::Click(*w.SpeedButton3);
  user::Type("ใหม่");
  user::PressEnter();
  user::Type(" ซอย 2");
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Stored("tresksys"),
            (Rows{{"1", "วัดเก่า", "0990001", "", "", "", "", "", "", ""},
                  {"2", "วัดป่าใหม่", "0994000123456", "1 ถนนวัด ซอย 2", "ตำบลป่า", "เชียงใหม่", "50000", "053111111",
                   "053222222", "wat@example.org"}}));
  EXPECT_TRUE(w.Edit1->ReadOnly());
  EXPECT_TRUE(w.SpeedButton3->Enabled());
  EXPECT_TRUE(Dialogs().Transcript().empty());
}

TEST_F(OfficeRecord, SavingAnEmptyNameIsRefusedWithTheFocusInTheAddress) {
  TRef_Office& w = Open();
  user::Click(*w.SpeedButton3);
  w.Edit1->Clear();
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton8);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, kOfficeNoName);
  EXPECT_TRUE(seen::HasFocus(*w.Edit3));
  EXPECT_EQ(Stored("tresksys")[1][1], "วัดป่า");
  EXPECT_EQ(w.EditState, "edit");
}

TEST_F(OfficeRecord, CancelLeavesTheTypedTextUnsavedUntilRefreshShowsTheStoredRow) {
  TRef_Office& w = Open();
  user::Click(*w.SpeedButton3);
  user::Type("ร่าง");
  user::Click(*w.SpeedButton6);
  EXPECT_EQ(seen::Text(*w.Edit1), "วัดป่าร่าง");
  EXPECT_TRUE(w.Edit1->ReadOnly());
  EXPECT_EQ(Stored("tresksys")[1][1], "วัดป่า");
  user::Click(*w.SpeedButton11);
  EXPECT_EQ(seen::Text(*w.Edit1), "วัดเก่า") << "the refreshed list stands on its first row";
}

}  // namespace
