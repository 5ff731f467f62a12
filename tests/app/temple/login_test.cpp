// The login window of the temple program over the real table of users: the
// menus of each level, the logout, and one account shared with the donation
// program.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/app/temple/support/TempleProgramTest.h"

namespace {

using Login = TempleProgramTest;

struct LevelCase {
  const char* ac1;
  // m_login m_main mm_use_room mm_use_land mm_cash mm_data_tools m_ref mm_office m_report m_help
  const char* letters;
  int level;
};

class LoginLevels : public Login, public testing::WithParamInterface<LevelCase> {};

TEST_P(LoginLevels, TheUsersLevelOpensItsMenus) {
  const LevelCase& c = GetParam();
  AddUser("somchai", "pw", c.ac1, "สมชาย");
  TMAIN_HOTEL& frame = StartWithStubWindows();
  Tpasswd& login = OpenLogin(frame);
  EXPECT_EQ(seen::Caption(login), " รหัสผ่าน ...  Login Name = admin        Password = 8052");
  LogIn(login, "somchai", "pw");
  EXPECT_EQ(frame.UserLevel, c.level);
  EXPECT_EQ(seen::Text(*login.Label9), "Hello สมชาย");
  EXPECT_EQ(myVar.CurrentStaffNo, "ST00000009");
  EXPECT_EQ(ReachableAsLetters(LevelItems(frame)), c.letters);
  EXPECT_TRUE(frame.mm_work_stock->Enabled()) << "enabled by every login";
  EXPECT_FALSE(Reachable(*frame.mm_work_stock)) << "and never shown";
}

INSTANTIATE_TEST_SUITE_P(Levels, LoginLevels,
                         testing::Values(LevelCase{"1", "1111111111", 1}, LevelCase{"2", "1111111111", 2},
                                         LevelCase{"3", "1100011111", 3}, LevelCase{"4", "1111110001", 4},
                                         LevelCase{"5", "1111010001", 5}, LevelCase{"0", "1100010001", 0},
                                         LevelCase{"9", "1100010001", 0}));

TEST_F(Login, AFailedLoginClosesTheReferencesButKeepsTheOfficeItemAsItWas) {
  AddUser("malee", "pw", "4", "มาลี");
  TMAIN_HOTEL& frame = StartWithStubWindows();
  Tpasswd& login = OpenLogin(frame);
  for (const char* first_user : {"admin", "malee"}) {
    SCOPED_TRACE(first_user);
    LogIn(login, first_user, first_user == std::string("admin") ? "8052" : "pw");
    const bool office = frame.mm_office->Enabled();
    EXPECT_EQ(office, first_user == std::string("admin"));
    LogIn(login, "admin", "wrong");
    EXPECT_EQ(frame.UserLevel, 0);
    EXPECT_FALSE(Reachable(*frame.m_ref));
    // Under a closed menu the item cannot be reached either way; its own
    // state is what the next menu opening would show.
    EXPECT_EQ(frame.mm_office->Enabled(), office);
  }
}

TEST_F(Login, LogoutRestoresTheLoggedOutMenusAndKeepsTheOfficeItem) {
  TMAIN_HOTEL& frame = StartWithStubWindows();
  Tpasswd& login = OpenLogin(frame);
  LogIn(login, "admin", "8052");
  user::Click(*login.Button3);
  user::ProcessEvents();
  EXPECT_EQ(myVar.CurrentStaffNo, "");
  EXPECT_EQ(frame.UserLevel, 0);
  EXPECT_EQ(FormsApplication().Newest<Tpasswd>(), nullptr) << "the window closed";
  EXPECT_EQ(ReachableAsLetters(LevelItems(frame)), "1100010001");
  EXPECT_TRUE(frame.mm_office->Enabled());
}

TEST_F(Login, TheConnectionOfTheUsersStaysOpenWhileTheWindowExists) {
  TMAIN_HOTEL& frame = StartWithStubWindows();
  Tpasswd& login = OpenLogin(frame);
  login.Table1->Close();
  EXPECT_TRUE(login.Database1->Connected());
}

// Runs a helper program to its end and returns its one line of output.
std::string HelperLine(FILE* helper) {
  char line[256] = {};
  const bool read = std::fgets(line, sizeof line, helper) != nullptr;
  EXPECT_EQ(pclose(helper), 0);
  return read ? line : "";
}

TEST_F(Login, OneAccountLogsInToBothProgramsAtOnceEachWithItsOwnLevelTable) {
  AddUser("somsri", "1234", "5", "สมศรี");
  const std::string arguments = " '" + folder_.Path().string() + "' somsri 1234";
  FILE* temple = popen((std::string(VTR_TEMPLE_LOGIN_HELPER) + arguments).c_str(), "r");
  FILE* donation = popen((std::string(VTR_DONATION_LOGIN_HELPER) + arguments).c_str(), "r");
  ASSERT_NE(temple, nullptr);
  ASSERT_NE(donation, nullptr);
  EXPECT_EQ(HelperLine(temple), "level 5 drawer 0\n") << "level 5 may not open the drawer here";
  EXPECT_EQ(HelperLine(donation), "level 5 Hello สมศรี\n");
}

}  // namespace
