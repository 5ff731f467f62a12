#pragma once
// The fixture of the usage voucher window tests: two halls, three members
// (two of them with one name), hall vouchers of both halls, a land voucher on
// the first hall's code, and two lines of the newest voucher of the first hall.
#include <string>

#include "app/core/SqlWindowQuery.h"
#include "app/temple/add_edit.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

class UsageVoucher : public TempleWindowTest {
 protected:
  void SetUp() override {
    TempleWindowTest::SetUp();
    Store({{"g_room", {{"accessory_no", "H01"}, {"accessory_name", "ศาลาการเปรียญ"}, {"price_1", "1500"}}},
           {"g_room", {{"accessory_no", "H02"}, {"accessory_name", "อาคารเรียน"}, {"price_1", "800"}}},
           {"g_member", {{"mem_no", "0000001"}, {"mem_name", "นายหนึ่ง"}, {"mem_add1", "1 ถนนหนึ่ง"}}},
           {"g_member",
            {{"mem_no", "0000002"}, {"mem_name", "นายสอง"}, {"mem_add1", "2 ถนนสอง"}, {"mem_zip", "10200"}}},
           {"g_member", {{"mem_no", "0000003"}, {"mem_name", "นายสอง"}, {"mem_add1", "3 ถนนสาม"}}},
           {"g_temple_2",
            {{"work_no", "HALL1000001"}, {"work_date", "05/03/2024"}, {"work_room", "H01"}, {"mem_no", "0000001"}}},
           {"g_temple_2",
            {{"work_no", "HALL1000002"}, {"work_date", "06/03/2024"}, {"work_room", "H01"}, {"mem_no", "0000002"}}},
           {"g_temple_2",
            {{"work_no", "LAND2000001"}, {"work_date", "06/03/2024"}, {"work_room", "H01"}, {"mem_no", "0000001"}}},
           {"g_temple_2",
            {{"work_no", "HALL1000003"}, {"work_date", "07/03/2024"}, {"work_room", "H02"}, {"mem_no", "0000003"}}},
           {"h_temple", {{"work_no", "HALL1000002"}, {"accessory_no", "H01"}, {"qty", "1"}, {"total", "1500"}}},
           {"h_temple", {{"work_no", "HALL1000002"}, {"accessory_no", "P01"}, {"qty", "150"}, {"total", "1200"}}}});
  }

  Tadd_edit& Open() {
    auto* window = FormsApplication().CreateForm<Tadd_edit>(SqlQueries());
    user::ProcessEvents();
    return *window;
  }

  // Changes a column of the settings row, as the settings window does.
  void SetSetting(const std::string& column, const std::string& value) {
    TVTRTable& settings = OtherUser("sys_sys");
    settings.Open();
    settings.Edit();
    settings.FieldByName(column)->SetAsString(value);
    settings.Post();
    settings.Close();
  }

  // Searches the site by its code and takes it.
  static void PickSite(Tadd_edit& w, const std::string& code) {
    user::Click(*w.Button12);
    EXPECT_TRUE(seen::HasFocus(*w.Edit7));
    user::Type(code);
    user::PressEnter();
    EXPECT_TRUE(seen::HasFocus(*w.Button17));
    user::Click(*w.Button17);
  }
};
