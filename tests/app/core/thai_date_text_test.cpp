// Date texts are read and written by position, whatever the machine's locale
// says: every test here runs under a locale that writes dates month first.
#include <gtest/gtest.h>

#include <clocale>
#include <ctime>
#include <string>
#include <vector>

#include "app/core/DueDate.h"
#include "app/core/MonthEnds.h"
#include "app/core/ThaiDateText.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/ThaiDate.h"
#include "tests/platform/ui/support/UiTest.h"

namespace {

constexpr const char* kNoBox = nullptr;
constexpr const char* kIncomplete = "ข้อมูล วัน เดือน ปี  ไม่ครบ";
constexpr const char* kWrong = "ข้ อ ม ู ล วัน เดือน ปี ผิด ต้องตรวจสอบทันที";

class ThaiDateTextTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    previous_locale_ = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "en_US.UTF-8"), nullptr)
        << "the locale en_US.UTF-8 is missing (scripts/install-deps makes it)";
    std::tm march_5{};
    march_5.tm_year = 2024 - 1900;
    march_5.tm_mon = 2;
    march_5.tm_mday = 5;
    char text[32];
    ASSERT_GT(std::strftime(text, sizeof text, "%x", &march_5), 0u);
    ASSERT_EQ(std::string(text).substr(0, 5), "03/05") << "the locale writes dates day first";
  }
  void TearDown() override {
    std::setlocale(LC_ALL, previous_locale_.c_str());
    UiTest::TearDown();
  }

  // Queues the OK of the box the call is expected to show, runs it, and checks
  // that exactly that box came.
  template <typename Call>
  auto WithBox(const char* box, Call call) {
    Dialogs().Clear();
    if (box != kNoBox) Dialogs().Answer(mrOk);
    auto result = call();
    std::vector<std::string> shown;
    for (const DialogRecord& record : Dialogs().Transcript()) shown.push_back(record.text);
    EXPECT_EQ(shown, box == kNoBox ? std::vector<std::string>{} : std::vector<std::string>{box});
    return result;
  }

 private:
  std::string previous_locale_;
};

TEST_F(ThaiDateTextTest, DatesAreWrittenDayMonthBuddhistYear) {
  EXPECT_EQ(DateToThaiText(EncodeDate(2024, 3, 5)), "05/03/2567");
  EXPECT_EQ(DateToThaiText(EncodeDate(1999, 12, 31) + 0.5), "31/12/2542");
  EXPECT_EQ(DateToThaiText(0), "  /  /    ");
  EXPECT_EQ(DateToThaiText(0.75), "  /  /    ") << "a time of day on day 0 is still no date";
}

TEST_F(ThaiDateTextTest, TypedDatesAreReadDayFirstAndBadOnesAreReported) {
  struct Case {
    const char* text;
    const char* box;
    TDateTime date;
  };
  for (const Case& c : {
           Case{"05/03/2567", kNoBox, EncodeDate(2024, 3, 5)},
           Case{" 12/01/2567 ", kNoBox, EncodeDate(2024, 1, 12)},
           Case{"05/ 3/2567", kNoBox, EncodeDate(2024, 3, 5)},
           Case{"29/02/2567", kNoBox, EncodeDate(2024, 2, 29)},
           Case{"1/1/2567", kIncomplete, 0},
           Case{"", kIncomplete, 0},
           Case{"  /  /    ", kIncomplete, 0},
           Case{"31/02/2567", kWrong, 0},
           Case{"29/02/2566", kWrong, 0},
           Case{"2567/03/05", kWrong, 0},
           Case{"ab/cd/efgh", kWrong, 0},
           Case{"05/03/๒๕๖๗", kWrong, 0},
       }) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(WithBox(c.box, [&] { return ThaiTextToDate(c.text); }), c.date);
  }
}

TEST_F(ThaiDateTextTest, DueDatesFollowTheCreditTerm) {
  struct Case {
    const char* start;
    const char* term;
    const char* due;
    const char* box;
  };
  for (const Case& c : {
           Case{"15/01/2567", "1 ด.", "29/02/2567", kNoBox},
           Case{"15/01/2567", "30 ว.", "14/02/2567", kNoBox},
           Case{"31/12/2566", "3 ว.", "03/01/2567", kNoBox},
           Case{"15/01/2567", "120 ว.", "14/05/2567", kNoBox},
           Case{"15/01/2567", "0 ด.", "31/01/2567", kNoBox},
           Case{"15/08/2567", "6 ด.", "28/02/2568", kNoBox},
           Case{"10/12/2566", "2 ด.", "29/02/2567", kNoBox},
           Case{"15/01/2567", "สด", "15/01/2567", kNoBox},
           Case{"15/01/2567", "10 ว.", "15/01/2567", kNoBox},
           Case{"1/1/2567", "สด", "1/1/2567", kNoBox},
           Case{"", "30 ว.", "", kNoBox},
           Case{"   ", "1 ด.", "", kNoBox},
           Case{"1/1/2567", "30 ว.", "", kIncomplete},
           Case{"31/02/2567", "1 ด.", "", kWrong},
       }) {
    SCOPED_TRACE(std::string(c.start) + " " + c.term);
    EXPECT_EQ(WithBox(c.box, [&] { return DueDateByTerm(c.start, c.term); }), c.due);
  }
}

TEST_F(ThaiDateTextTest, MonthEndsAreWrittenWithTheBuddhistYear) {
  EXPECT_EQ(LastDayOfMonthText(2, 2543), "29/02/2543");
  EXPECT_EQ(LastDayOfMonthText(2, 2566), "28/02/2566");
  EXPECT_EQ(LastDayOfMonthText(4, 2567), "30/04/2567");
  EXPECT_EQ(LastDayOfMonthText(12, 2567), "31/12/2567");
  EXPECT_EQ(FirstDayOfMonthText(2, 2567), "01/02/2567");
  EXPECT_EQ(FirstDayOfMonthText(11, 2567), "01/11/2567");
  EXPECT_EQ(AddMonthsEndOfMonth(1, {15, 1, 2567}), "29/02/2567");
  EXPECT_EQ(AddMonthsEndOfMonth(13, {1, 12, 2566}), "31/01/2568");
  for (const int month : {0, 13}) {
    EXPECT_THROW(LastDayOfMonthText(month, 2567), EConvertError) << month;
    EXPECT_THROW(FirstDayOfMonthText(month, 2567), EConvertError) << month;
  }
}

// February of 1900 and 2100 had 28 days: a period report or a due date must
// never be given a day that does not exist.
TEST_F(ThaiDateTextTest, EveryMonthEndIsARealLastDayCenturiesIncluded) {
  EXPECT_EQ(LastDayOfMonthText(2, 2443), "28/02/2443");
  EXPECT_EQ(LastDayOfMonthText(2, 2643), "28/02/2643");
  for (int year = 2440; year <= 2650; ++year) {
    for (int month = 1; month <= 12; ++month) {
      TDateTime last = 0;
      ASSERT_TRUE(TryParseBuddhistDate(LastDayOfMonthText(month, year), last)) << month << "/" << year;
      int next_year = 0, next_month = 0, next_day = 0;
      DecodeDate(last + 1, next_year, next_month, next_day);
      EXPECT_EQ(next_day, 1) << LastDayOfMonthText(month, year);
    }
  }
}

}  // namespace
