// The supplier register over a fresh temple database, driven as a user drives it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/donation/Ref_Supply.h"
#include "tests/app/donation/support/DonationRegisterTest.h"
#include "tests/app/donation/support/PartyPicker.h"

namespace {

TableRow Supplier(const std::string& number, const std::string& name) {
  return {"supply", {{"cust_no", number}, {"cust_name", name}}};
}

class SupplierRegister : public DonationRegisterTest {
 protected:
  void SetUp() override {
    DonationRegisterTest::SetUp();
    myVar.SupplyPickCaller = "1";
  }

  TRef_Supply& Open(PickTarget* opener = nullptr) {
    auto* window = FormsApplication().CreateForm<TRef_Supply>(opener);
    window->Show();
    user::ProcessEvents();
    return *window;
  }

  void AddSupplier(TRef_Supply& w, const std::string& name) {
    user::Click(*w.SpeedButton1);
    EXPECT_EQ(seen::Text(*w.Edit2), "Tempxxxx");
    EXPECT_TRUE(seen::HasFocus(*w.Edit3));
    user::Type(name);
    user::Click(*w.SpeedButton8);
  }
};

TEST_F(SupplierRegister, SuppliersAreNumberedWithAllEightDigits) {
  TRef_Supply& w = Open();
  EXPECT_EQ(seen::Caption(w), " ทะเบียนผู้ขาย");
  EXPECT_EQ(seen::Text(*w.SpeedButton2), "เลิก");
  AddSupplier(w, "ร้านหนึ่ง");
  EXPECT_EQ(Stored("supply", {"cust_no", "cust_name", "cust_cre", "cust_group"}),
            (Rows{{"00000001", "ร้านหนึ่ง", "สด", "1"}}));
  EXPECT_EQ(seen::Text(*w.Edit2), "00000001");
}

TEST_F(SupplierRegister, TheNextNumberFollowsTheHighestOfEightDigits) {
  Store({Supplier("00000041", "สี่สิบเอ็ด"), Supplier("00099", "เก่า")});
  TRef_Supply& w = Open();
  AddSupplier(w, "ใหม่");
  EXPECT_EQ(Stored("supply", {"cust_no"}).back(), std::vector<std::string>{"00000042"});
  EXPECT_EQ(seen::Text(*w.Edit2), "00000042");
}

TEST_F(SupplierRegister, PastTheLastNumberTheSaveIsRefused) {
  Store({Supplier("99999999", "สุดท้าย")});
  TRef_Supply& w = Open();
  Dialogs().Answer(mrOk);
  AddSupplier(w, "ใหม่");
  EXPECT_EQ(Shown(), std::vector<std::string>{kSupplierNumbersUsedUp});
  EXPECT_EQ(Stored("supply", {"cust_no"}).size(), 1u);
  EXPECT_EQ(w.EditState, "add");
}

TEST_F(SupplierRegister, ClosingAGoodsPickWritesTheSupplierAndResetsTheCreditTerm) {
  Store({{"supply",
          {{"cust_no", "00000005"},
           {"cust_name", "ร้านพระเครื่อง"},
           {"cust_add1", "5 ถนนท่าพระจันทร์"},
           {"cust_tel", "021111111"},
           {"cust_fax", "021111112"}}}});
  myVar.SupplyPickCaller = "2";
  auto& opener = *FormsApplication().CreateForm<TPartyPicker>();
  TRef_Supply& w = Open(&opener);
  EXPECT_EQ(seen::Text(*w.SpeedButton2), "กลับใช้ข้อมูลนี้");
  user::CloseWindow(w);
  user::ProcessEvents();
  EXPECT_EQ(opener.Written(),
            (std::vector<std::string>{"unchanged", "00000005", "ร้านพระเครื่อง", "5 ถนนท่าพระจันทร์", "", "", "",
                                      "021111111", "021111112", "", "", "สด"}));

  myVar.SupplyPickCaller = "1";
  auto& from_menu = *FormsApplication().CreateForm<TPartyPicker>();
  user::CloseWindow(Open(&from_menu));
  user::ProcessEvents();
  EXPECT_EQ(from_menu.Written(), kNothingWritten);
}

}  // namespace
