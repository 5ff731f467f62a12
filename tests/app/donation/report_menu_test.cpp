// The settings window and the reports open from the donation program's menu.
#include <gtest/gtest.h>

#include <string>

#include "tests/app/donation/support/DonationProgramTest.h"

namespace {

using ReportMenu = DonationProgramTest;

TEST_F(ReportMenu, TheSettingsAndEveryReportOpenFromTheirItems) {
  TMAIN_2& frame = Start();
  LogIn(OpenLogin(frame), "admin", "8052");
  struct Case {
    TMenuItem* item;
    std::string caption;
  };
  for (const Case& c : {Case{frame.mm_system, " ข้อมูลอ้างอิง ระบบการทำงาน"}, Case{frame.N1, "รายงานการบริจาค"},
                        Case{frame.N110, "รายงานการบริจาค"}, Case{frame.N15, "รายงานการบริจาค แยกตามวัตถุประสงค์"},
                        Case{frame.N24, " รายงานทะเบียนฆราวาส"},
                        Case{frame.N29, "  รายงานการจำหน่าย และการรับของที่ระลึก"},
                        Case{frame.m_rep_buy, "รายจ่าย"}, Case{frame.m_rep_sale, "รายรับ"}}) {
    SCOPED_TRACE(c.item->Name());
    ASSERT_TRUE(Reachable(*c.item));
    user::ProcessEvents();
    TForm* child = frame.ActiveMDIChild();
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(seen::Visible(*child));
    EXPECT_EQ(seen::Caption(*child), c.caption);
    if (c.item == frame.mm_system) Dialogs().Answer(mrOk);  // its reminder on closing
    child->Close();
    user::ProcessEvents();
  }
}

}  // namespace
