// The registers of the shared core (monks and staff, members, the temple
// office) save and delete through their own statements on the stored
// table: a delete removes the row shown, an edit of a row another user
// deleted meanwhile is reported, and a number with a quote is kept as typed.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/core/Ref_Member.h"
#include "app/core/Ref_Office.h"
#include "app/core/Ref_Person.h"
#include "app/core/myVar.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

struct RegisterCase {
  const char* name;
  TableRow stored;
  std::function<RegisterWindow&()> open;
  // The window offers a delete.
  bool deletes;
};

class CoreRegisterStatements : public TempleWindowTest {
 protected:
  void SetUp() override {
    TempleWindowTest::SetUp();
    myVar.MemberRegisterMode = 1;
  }

  template <typename Window>
  static RegisterWindow& Open() {
    auto* window = FormsApplication().CreateForm<Window>();
    user::ProcessEvents();
    return *window;
  }

  static std::vector<RegisterCase> Cases() {
    return {
        {"monks and staff", {"h_person", {{"per_no", "O'Neil"}, {"per_name", "นายโอนีล"}}}, Open<TRef_Person>, true},
        {"members", {"g_member", {{"mem_no", "0000001"}, {"mem_name", "นายหนึ่ง"}}}, Open<TRef_Member>, true},
        {"temple office", {"tresksys", {}}, Open<TRef_Office>, false},
    };
  }

  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const DialogRecord& record : Dialogs().Transcript()) texts.push_back(record.text);
    return texts;
  }

  void RemoveStored(const std::string& table_name) {
    TVTRTable& table = OtherUser(table_name);
    table.Open();
    while (!table.IsEmpty()) table.Delete();
    table.Close();
  }

  static void Finish(RegisterWindow& w) {
    w.Close();
    user::ProcessEvents();
  }
};

TEST_F(CoreRegisterStatements, ADeleteRemovesTheRowShown) {
  for (const RegisterCase& c : Cases()) {
    if (!c.deletes) continue;
    SCOPED_TRACE(c.name);
    Store({c.stored});
    RegisterWindow& w = c.open();
    Dialogs().Answer(mrYes);
    user::Click(*w.SpeedButton4);
    EXPECT_EQ(Messages(), std::vector<std::string>{kConfirmDelete});
    EXPECT_TRUE(Stored(c.stored.Table, {c.stored.Values.front().Column}).empty());
    Finish(w);
    Dialogs().Clear();
  }
}

TEST_F(CoreRegisterStatements, AnEditOfARowAnotherUserDeletedIsReportedAndKeepsTheEntry) {
  for (const RegisterCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    if (!c.stored.Values.empty()) Store({c.stored});
    RegisterWindow& w = c.open();
    user::Click(*w.SpeedButton3);
    RemoveStored(c.stored.Table);
    Dialogs().Answer(mrOk);
    user::Click(*w.SpeedButton8);
    EXPECT_EQ(Messages(), std::vector<std::string>{kRowNotFound});
    EXPECT_EQ(w.EditState, "edit");
    user::Click(*w.SpeedButton6);
    Finish(w);
    Dialogs().Clear();
  }
}

TEST_F(CoreRegisterStatements, ANumberWithAQuoteIsStoredAndFoundAgain) {
  TRef_Person& w = static_cast<TRef_Person&>(Open<TRef_Person>());
  user::Click(*w.SpeedButton1);
  user::Type("O'Neil");
  user::PressEnter();
  user::Type("นายโอนีล");
  user::Click(*w.SpeedButton8);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Stored("h_person", {"per_no", "per_name"}), (Rows{{"O'Neil", "นายโอนีล"}}));

  user::Click(*w.SpeedButton1);
  user::Type("O'Ne");
  Dialogs().Answer(mrOk);
  user::PressEnter();
  EXPECT_EQ(Messages(), std::vector<std::string>{kDuplicateNumber});
  EXPECT_TRUE(seen::HasFocus(*w.Edit2));
}

}  // namespace
