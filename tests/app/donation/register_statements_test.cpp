// Each register of the donation program saves and deletes through its own
// statements on the stored table: a delete removes the row shown, and an edit
// of a row another user deleted meanwhile is reported instead of taken for done.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/core/RegisterWindow.h"
#include "app/core/myVar.h"
#include "app/donation/Ref_Attn.h"
#include "app/donation/Ref_Cust.h"
#include "app/donation/Ref_Donate.h"
#include "app/donation/Ref_Part_Pict.h"
#include "app/donation/Ref_Supply.h"
#include "tests/app/donation/support/DonationRegisterTest.h"

namespace {

struct RegisterCase {
  const char* name;
  TableRow stored;
  std::function<RegisterWindow&()> open;
  // The window's save button.
  std::function<TControl&(RegisterWindow&)> save;
};

class RegisterStatements : public DonationRegisterTest {
 protected:
  void SetUp() override {
    DonationRegisterTest::SetUp();
    myVar.PickCaller = "0";
    myVar.SupplyPickCaller = "1";
  }

  template <typename Window>
  static RegisterWindow& Open() {
    auto* window = FormsApplication().CreateForm<Window>();
    window->Show();
    user::ProcessEvents();
    return *window;
  }

  template <typename Window>
  static RegisterWindow& OpenForPick() {
    auto* window = FormsApplication().CreateForm<Window>(nullptr);
    window->Show();
    user::ProcessEvents();
    return *window;
  }

  static TControl& BarSave(RegisterWindow& w) { return *w.SpeedButton8; }

  std::vector<RegisterCase> Cases() {
    return {
        {"purposes", {"m_donate", {{"accessory_no", "00101"}, {"accessory_name", "บำรุงวัด"}}}, Open<TRef_Donate>,
         BarSave},
        {"titles", {"cust_prefix", {{"prefix_name", "นาย"}}}, Open<TRef_Attn>,
         [](RegisterWindow& w) -> TControl& { return *static_cast<TRef_Attn&>(w).Button8; }},
        {"goods", {"product", {{"pro_no", "P001"}, {"pro_name", "พระผง"}, {"pro_type", "0"}}}, Open<TRef_Part_Pict>,
         BarSave},
        {"suppliers", {"supply", {{"cust_no", "00000001"}, {"cust_name", "ร้านดอกไม้"}}}, OpenForPick<TRef_Supply>,
         BarSave},
        {"donors", {"customer", {{"cust_no", "ABCD000001"}, {"cust_name", "O'Neil Smith"}}}, OpenForPick<TRef_Cust>,
         BarSave},
    };
  }

  void RemoveStored(const std::string& table_name) {
    TVTRTable& table = OtherUser(table_name);
    table.Open();
    while (!table.IsEmpty()) table.Delete();
    table.Close();
  }
};

TEST_F(RegisterStatements, ADeleteRemovesTheRowShown) {
  for (const RegisterCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    Store({c.stored});
    RegisterWindow& w = c.open();
    Dialogs().Answer(mrYes);
    user::Click(*w.SpeedButton4);
    EXPECT_EQ(Shown(), std::vector<std::string>{kConfirmDelete});
    EXPECT_TRUE(Stored(c.stored.Table, {c.stored.Values.front().Column}).empty());
    w.Close();
    user::ProcessEvents();
    Dialogs().Clear();
  }
}

TEST_F(RegisterStatements, AnEditOfARowAnotherUserDeletedIsReportedAndKeepsTheEntry) {
  for (const RegisterCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    Store({c.stored});
    RegisterWindow& w = c.open();
    user::Click(*w.SpeedButton3);
    RemoveStored(c.stored.Table);
    Dialogs().Answer(mrOk);
    user::Click(c.save(w));
    EXPECT_EQ(Shown(), std::vector<std::string>{kRowNotFound});
    EXPECT_EQ(w.EditState, "edit");
    EXPECT_TRUE(Stored(c.stored.Table, {c.stored.Values.front().Column}).empty());
    user::Click(*w.SpeedButton6);
    w.Close();
    user::ProcessEvents();
    Dialogs().Clear();
  }
}

}  // namespace
