// The donation program's menu opens the registers of donors, name titles,
// donation purposes, goods and suppliers.
#include <gtest/gtest.h>

#include <string>

#include "tests/app/donation/support/DonationProgramTest.h"

namespace {

using RegisterMenu = DonationProgramTest;

TEST_F(RegisterMenu, TheTitlePurposeAndGoodsRegistersOpenAsChildren) {
  TMAIN_2& frame = Start();
  LogIn(OpenLogin(frame), "admin", "8052");
  for (const auto& [item, caption] : {std::pair{frame.N26, "ตารางคำนำหน้าชื่อ"},
                                      std::pair{frame.mm_ref_donate, " ทะเบียนวัตถุประสงค์การบริจาค"},
                                      std::pair{frame.N10, "ทะเบียนวัตถุมงคล  - สินค้า อื่น ๆ "}}) {
    SCOPED_TRACE(item->Name());
    ASSERT_TRUE(Reachable(*item));
    user::ProcessEvents();
    TForm* child = frame.ActiveMDIChild();
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(seen::Visible(*child));
    EXPECT_EQ(seen::Caption(*child), caption);
    user::ClickCloseBox(*child);
    user::ProcessEvents();
  }
}

TEST_F(RegisterMenu, TheDonorAndSupplierRegistersOpenModallyToKeepTheRegister) {
  TMAIN_2& frame = Start();
  LogIn(OpenLogin(frame), "admin", "8052");
  for (const auto& [item, caption] : {std::pair{frame.mm_customer, " ทะเบียนผู้บริจาค - ผู้ใช้บริการ"},
                                      std::pair{frame.mm_supply, " ทะเบียนผู้ขาย"}}) {
    SCOPED_TRACE(item->Name());
    std::string shown;
    seen::OnModalForm([&](TForm& modal) {
      shown = seen::Caption(modal);
      user::CloseWindow(modal);
    });
    ASSERT_TRUE(item->Enabled());
    item->Click();
    user::ProcessEvents();
    EXPECT_EQ(shown, caption);
    EXPECT_EQ(seen::ModalForm(), nullptr);
  }
}

}  // namespace
