// The live-state list of halls and buildings on a real file: the rooms of
// the chosen state only, with the member found through g_rent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/temple/rep_room_live.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class RoomLiveReport : public TempleWindowTest {
 protected:
  void SetUp() override {
    TempleWindowTest::SetUp();
    Store({{"g_room", {{"accessory_no", "H01"}, {"accessory_name", "ศาลาการเปรียญ"}, {"live", "2"}}},
           {"g_room", {{"accessory_no", "H02"}, {"accessory_name", "อาคารเรียน"}, {"live", "2"}}},
           {"g_room", {{"accessory_no", "H03"}, {"accessory_name", "ศาลาว่าง"}, {"live", "0"}}},
           {"g_rent", {{"room_no", "H01"}, {"rent_no", "0000002"}}},
           {"g_member", {{"mem_no", "0000001"}, {"mem_name", "นายหนึ่ง"}}},
           {"g_member", {{"mem_no", "0000002"}, {"mem_name", "นายสอง"}}}});
  }

  Rows Listed(const std::string& filter) {
    myVar.RoomStatusFilter = filter;
    auto* w = FormsApplication().CreateForm<Trep_room_live>();
    user::ProcessEvents();
    Rows rows;
    TDataSet& data = w->Query1.Rows();
    for (data.First(); !data.Eof(); data.Next())
      rows.push_back({data.FieldByName("accessory_no")->AsString(), data.FieldByName("m_customer")->AsString()});
    caption_ = seen::Caption(*w);
    w->Close();
    user::ProcessEvents();
    return rows;
  }

  std::string caption_;
};

TEST_F(RoomLiveReport, ListsTheRoomsOfTheStateWithTheirUsers) {
  EXPECT_EQ(Listed("2"), (Rows{{"H01", "นายสอง"}, {"H02", ""}}));
  EXPECT_EQ(caption_, "รายงานอาคาร - ที่ดิน ที่ใช้งาน");
  EXPECT_EQ(Listed("0"), (Rows{{"H03", "ว่าง"}}));
  EXPECT_EQ(Listed("7"), Listed("2")) << "an unknown filter lists the rooms in use";
}

}  // namespace
