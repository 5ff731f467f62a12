// The login window of the donation program over the real table of users: the
// login and its levels, the logout, and the maintenance of users.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/core/FileConnection.h"
#include "engine/access/Table.h"
#include "tests/app/donation/support/DonationProgramTest.h"

namespace {

using Login = DonationProgramTest;

// The items of the level table's columns, in its order.
std::vector<TMenuItem*> LevelItems(TMAIN_2& frame) {
  return {frame.m_login, frame.m_main,        frame.mm_donate, frame.mm_fill,  frame.mm_sale,
          frame.mm_cash, frame.mm_data_tools, frame.m_ref,     frame.m_report, frame.m_help};
}

// The reachable items as the table's letters.
std::string ReachableLetters(TMAIN_2& frame) {
  std::string letters;
  for (TMenuItem* item : LevelItems(frame)) letters += user::ChooseMenu(*item) ? '1' : '0';
  return letters;
}

TEST_F(Login, AdminIsGreetedAndGetsEveryMenuAndTheMaintenancePanel) {
  TMAIN_2& frame = StartWithStubWindows();
  Tpassword_donate& login = OpenLogin(frame);
  EXPECT_EQ(seen::Caption(login), " รหัสผ่าน ...  Login Name = admin        Password = 8052");
  EXPECT_EQ(login.Top(), 100);
  EXPECT_EQ(login.Left(), 150);
  EXPECT_TRUE(seen::HasFocus(*login.Edit1));
  EXPECT_FALSE(seen::Visible(*login.Panel2));
  EXPECT_FALSE(seen::Visible(*login.Button2));

  LogIn(login, "admin", "8052");
  EXPECT_EQ(seen::Text(*login.Edit2), "xxxx");
  EXPECT_EQ(seen::Text(*login.Label9), "Hello ");  // the seeded admin has no NAME
  EXPECT_EQ(frame.UserLevel, 1);
  EXPECT_EQ(frame.LoginUserName, "admin");
  EXPECT_TRUE(seen::Visible(*login.Panel2));
  EXPECT_TRUE(seen::HasFocus(*login.Button2));
  EXPECT_EQ(ReachableLetters(frame), "1111111111");
}

struct LevelCase {
  const char* ac1;
  const char*
      letters;  // m_login m_main mm_donate mm_fill mm_sale mm_cash mm_data_tools m_ref m_report m_help
  int level;
};

class LoginLevels : public Login, public testing::WithParamInterface<LevelCase> {};

TEST_P(LoginLevels, TheUsersLevelOpensItsMenus) {
  const LevelCase& c = GetParam();
  AddUser("somchai", "pw", c.ac1, "สมชาย");
  TMAIN_2& frame = StartWithStubWindows();
  Tpassword_donate& login = OpenLogin(frame);
  LogIn(login, "somchai", "pw");
  EXPECT_EQ(frame.UserLevel, c.level);
  EXPECT_EQ(seen::Text(*login.Label9), "Hello สมชาย");
  EXPECT_EQ(seen::Visible(*login.Panel2), c.level == 1);
  EXPECT_EQ(myVar.CurrentStaffNo, "ST00000009");
  EXPECT_EQ(ReachableLetters(frame), c.letters);
}

INSTANTIATE_TEST_SUITE_P(Levels, LoginLevels,
                         testing::Values(LevelCase{"1", "1111111111", 1}, LevelCase{"2", "1111111111", 2},
                                         LevelCase{"3", "1100001111", 3}, LevelCase{"4", "1101001001", 4},
                                         LevelCase{"5", "1110111001", 5}, LevelCase{"0", "1100001001", 0},
                                         LevelCase{"7", "1100001001", 0}));

TEST_F(Login, AWrongPasswordDropsToLevelZeroAndAnUnknownNameKeepsTheLevel) {
  TMAIN_2& frame = StartWithStubWindows();
  Tpassword_donate& login = OpenLogin(frame);
  LogIn(login, "admin", "8052");
  LogIn(login, "nobody", "8052");
  EXPECT_EQ(frame.UserLevel, 1);
  EXPECT_EQ(ReachableLetters(frame), "1111111111");

  LogIn(login, "admin", "8O52");
  EXPECT_EQ(frame.UserLevel, 0);
  EXPECT_EQ(seen::Text(*login.Label9), "");
  EXPECT_TRUE(seen::HasFocus(*login.Edit1));
  EXPECT_EQ(ReachableLetters(frame), "1100001001");
  EXPECT_TRUE(Dialogs().Transcript().empty());
}

TEST_F(Login, LogoutClearsTheStaffNumberAndRestoresTheLoggedOutMenus) {
  TMAIN_2& frame = StartWithStubWindows();
  Tpassword_donate& login = OpenLogin(frame);
  LogIn(login, "admin", "8052");
  user::Click(*login.Button3);
  user::ProcessEvents();
  EXPECT_EQ(myVar.CurrentStaffNo, "");
  EXPECT_EQ(frame.UserLevel, 0);
  EXPECT_EQ(frame.LoginUserName, "admin");
  EXPECT_EQ(FormsApplication().Newest<Tpassword_donate>(), nullptr) << "the window closed";
  EXPECT_EQ(ReachableLetters(frame), "1100001001");
}

TEST_F(Login, WorkplaceButtonTakesTheLoggedInUsersStaffNumberAndCloses) {
  AddUser("malee", "", "5", "มาลี", "ST00000002");
  TMAIN_2& frame = StartWithStubWindows();
  Tpassword_donate& login = OpenLogin(frame);
  LogIn(login, "malee", "");
  EXPECT_EQ(frame.UserLevel, 5) << "an empty password matches an empty one";
  ASSERT_TRUE(seen::Visible(*login.Button2));
  user::Click(*login.Button2);
  user::ProcessEvents();
  EXPECT_EQ(myVar.CurrentStaffNo, "ST00000002");
  EXPECT_EQ(myVar.WorkplaceUserName, "malee");
  EXPECT_EQ(FormsApplication().Newest<Tpassword_donate>(), nullptr);
}

class Maintenance : public Login {
 protected:
  Tpassword_donate& AdminPanel() {
    TMAIN_2& frame = StartWithStubWindows();
    Tpassword_donate& login = OpenLogin(frame);
    LogIn(login, "admin", "8052");
    return login;
  }

  // Adds a user through the panel as a user types it.
  void TypeNewUser(Tpassword_donate& login, const std::string& name, const std::string& password,
                   const std::string& again) {
    user::Click(*login.Button4);
    EXPECT_TRUE(seen::HasFocus(*login.Edit3));
    for (const std::string& text : {std::string("หัวหน้า"), std::string("ST00000005"), name, password, again}) {
      user::Type(text);
      user::PressEnter();
    }
    EXPECT_TRUE(seen::HasFocus(*login.DBRadioGroup1));
    user::ClickItem(*login.DBRadioGroup1, 1);
    user::Click(*login.Button6);
  }

  // The users stored, read through a connection of another user.
  int UserCount() {
    FileConnection connection(database_file_);
    std::unique_ptr<TVTRTable> users = connection.Table("password");
    int count = 0;
    users->Open();
    for (users->First(); !users->Eof(); users->Next()) ++count;
    users.reset();
    connection.Close();
    return count;
  }
};

TEST_F(Maintenance, DifferentPasswordsAreRefusedAndNothingIsPosted) {
  Tpassword_donate& login = AdminPanel();
  Dialogs().Answer(mrOk);
  TypeNewUser(login, "somsri", "1234", "1243");
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "รหัสไม่เหมือนกัน ลองอีกครั้ง");
  EXPECT_TRUE(seen::HasFocus(*login.Edit5));
  EXPECT_EQ(login.Table1->State(), dsInsert);
  EXPECT_EQ(UserCount(), 1);
}

TEST_F(Maintenance, ARepeatedUserNameIsRefusedByTheKeyAndTheRowStaysInInsert) {
  Tpassword_donate& login = AdminPanel();
  Dialogs().Answer(mrOk);
  TypeNewUser(login, "admin", "1234", "1234");
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].type, mtError);
  EXPECT_NE(Dialogs().Transcript()[0].text.find("Duplicate found"), std::string::npos)
      << Dialogs().Transcript()[0].text;
  EXPECT_EQ(login.Table1->State(), dsInsert);
  EXPECT_TRUE(login.Button6->Enabled());
  user::Click(*login.Button7);
  EXPECT_EQ(login.Table1->State(), dsBrowse);
  EXPECT_TRUE(login.Button4->Enabled());
  EXPECT_EQ(UserCount(), 1);
}

TEST_F(Maintenance, AUserAddedHereLogsInFromAnotherCopyOfTheProgram) {
  Tpassword_donate& login = AdminPanel();
  TypeNewUser(login, "somsri", "1234", "1234");
  EXPECT_TRUE(Dialogs().Transcript().empty());
  EXPECT_EQ(login.Table1->State(), dsBrowse);
  EXPECT_EQ(UserCount(), 2);

  const std::string command =
      std::string(VTR_LOGIN_HELPER) + " '" + folder_.Path().string() + "' somsri 1234";
  FILE* helper = popen(command.c_str(), "r");
  ASSERT_NE(helper, nullptr);
  char line[256] = {};
  const bool read = std::fgets(line, sizeof line, helper) != nullptr;
  EXPECT_EQ(pclose(helper), 0);
  ASSERT_TRUE(read);
  EXPECT_EQ(std::string(line), "level 2 Hello หัวหน้า\n");
}

}  // namespace
