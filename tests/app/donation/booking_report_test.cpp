// The building and land booking report on a real file: the bookings of a day,
// of a room, their names and their print.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/donation/rep_room_booking.h"
#include "tests/app/donation/support/DonationReportTest.h"

namespace {

using Texts = std::vector<std::string>;

std::string Gregorian(TDateTime date) {
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", day, month, year);
  return text;
}

TableRow Booking(const char* id, const char* room, const char* member, const std::string& begin,
                 const std::string& end, const std::string& booked) {
  return {"h_booking_detail",
          {{"book_id", id}, {"room_no", room}, {"mem_no", member}, {"book_beg", begin}, {"book_end", end},
           {"book_date", booked}}};
}

class BookingReport : public DonationReportTest {
 protected:
  void SetUp() override {
    DonationReportTest::SetUp();
    const TDateTime today = Date();
    const std::vector<TableRow> rows{
        {"g_room", {{"accessory_no", "R01"}, {"accessory_name", "ศาลาการเปรียญ"}}},
        {"g_room", {{"accessory_no", "R02"}, {"accessory_name", "ที่ดินหลังวัด"}}},
        {"g_member", {{"mem_no", "0000000001"}, {"mem_name", "นายประเสริฐ มั่นคง"}}},
        Booking("1", "R01", "0000000001", "01/03/2024", "03/03/2024", "20/02/2024"),
        Booking("2", "R02", "0000000009", "02/03/2024", "02/03/2024", "10/02/2024"),
        Booking("3", "R09", "0000000001", Gregorian(today - 1), Gregorian(today + 1), "01/01/2024"),
    };
    AppendRows(database_file_, rows);
  }

  static Texts Column(const TDBGrid& grid, int column) {
    Texts texts;
    for (int row = 0; row < seen::RowCount(grid); ++row) texts.push_back(seen::Cell(grid, row, column));
    return texts;
  }

  static void ShowDay(Trep_room_booking& w, TDateTime day) {
    w.DateTimePicker3->SetDate(day);
    user::Click(*w.RunButton);
  }
};

TEST_F(BookingReport, OpensOnTheBookingsOfEveryRoomThatCoverToday) {
  auto& w = Open<Trep_room_booking>();
  EXPECT_EQ(seen::Caption(w), " รายงานการจองอาคาร - ที่ดิน");
  EXPECT_EQ(seen::Text(*w.Edit1), kAllRooms);
  EXPECT_TRUE(seen::Visible(*w.DateTimePicker3));
  EXPECT_EQ(w.DateTimePicker3->Date(), Date());
  EXPECT_FALSE(seen::Visible(*w.Panel2));
  EXPECT_EQ(Column(*w.DBGrid1, 0), Texts{"3"});
  EXPECT_EQ(Column(*w.DBGrid1, 2), Texts{""}) << "a room not in the register has no name";
  EXPECT_EQ(Column(*w.DBGrid1, 3), Texts{"นายประเสริฐ มั่นคง"});
}

TEST_F(BookingReport, ADaysBookingsIncludeTheirLastDayAndNotTheDayAfter) {
  auto& w = Open<Trep_room_booking>();
  struct Case {
    TDateTime day;
    Texts ids;
  };
  for (const Case& c : {Case{EncodeDate(2024, 3, 1), {"1"}}, Case{EncodeDate(2024, 3, 2), {"2", "1"}},
                        Case{EncodeDate(2024, 3, 3), {"1"}}, Case{EncodeDate(2024, 3, 4), {}}}) {
    SCOPED_TRACE(Gregorian(c.day));
    ShowDay(w, c.day);
    EXPECT_EQ(Column(*w.DBGrid1, 0), c.ids);
  }
  ShowDay(w, EncodeDate(2024, 3, 3));
  EXPECT_EQ(Column(*w.DBGrid1, 4), Texts{"01/03/2567"});
  EXPECT_EQ(Column(*w.DBGrid1, 5), Texts{"03/03/2567"});
  EXPECT_EQ(Column(*w.DBGrid1, 2), Texts{"ศาลาการเปรียญ"});

  user::ClickItem(*w.RadioGroup3, 0);
  EXPECT_FALSE(seen::Visible(*w.DateTimePicker3));
  EXPECT_EQ(Column(*w.DBGrid1, 0), (Texts{"3", "2", "1"})) << "every booking, by booking date";
  user::ClickItem(*w.RadioGroup1, 0);
  EXPECT_EQ(Column(*w.DBGrid1, 1), (Texts{"R01", "R02", "R09"}));
}

TEST_F(BookingReport, OneRoomPickedFromTheListIsShownAfterTheRun) {
  auto& w = Open<Trep_room_booking>();
  user::ClickItem(*w.RadioGroup3, 0);
  user::ClickItem(*w.RadioGroup5, 1);
  EXPECT_EQ(seen::Text(*w.Edit1), "");
  EXPECT_EQ(seen::RowCount(*w.DBGrid1), 3) << "an empty room box runs nothing";

  user::Click(*w.Button1);
  ASSERT_TRUE(seen::Visible(*w.Panel2));
  ASSERT_EQ(seen::RowCount(*w.RoomGrid), 2);
  user::ClickCell(*w.RoomGrid, 1, 0);
  user::Click(*w.Button2);
  EXPECT_FALSE(seen::Visible(*w.Panel2));
  EXPECT_EQ(seen::Text(*w.Edit1), "R02");
  EXPECT_EQ(seen::RowCount(*w.DBGrid1), 3) << "picking does not run";
  user::Click(*w.RunButton);
  EXPECT_EQ(Column(*w.DBGrid1, 0), Texts{"2"});

  user::Click(*w.PrintButtons.at(0));
  const TQRPrintedPage& page = Preview().Last().pages.at(0);
  for (const char* text : {"รายงานการจองอาคาร-ที่ดิน", "เลขที่จอง", "ชื่ออาคาร-ที่ดิน", "ตั้งแต่วันที่", "ถึงวันที่",
                           "ชื่อผู้จอง"})
    EXPECT_NE(page.FindText(text), nullptr) << text;
  EXPECT_EQ(Printed("Line_room_no"), Texts{"R02"});
  EXPECT_EQ(Printed("Line_m_room_name"), Texts{"ที่ดินหลังวัด"});
  EXPECT_EQ(Printed("Line_book_beg"), Texts{"02/03/2567"});
  EXPECT_EQ(Printed("Line_m_mem_name"), Texts{""});
}

}  // namespace
