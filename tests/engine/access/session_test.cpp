#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "engine/access/VTRDlgWait.h"
#include "engine/storage/memory/MemoryDatabaseData.h"
#include "engine/storage/temp/TemporaryDatabaseData.h"
#include "tests/engine/access/ComponentFixture.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

TEST(EngineRuntime, StartsTheProcessDatabasesAndTheDefaultSessionAndEndsThemAll) {
  TVTRHeadlessUi ui;
  EXPECT_ENGINE_ERROR(SessionList(), 20007, "Database Engine is not initialized");
  const int32_t listed_before = DatabaseDataList().GetCount();
  {
    TVTREngineRuntime runtime(ui);
    EXPECT_THROW(TVTREngineRuntime second(ui), std::logic_error);
    ASSERT_EQ(DatabaseDataList().GetCount(), listed_before + 2);
    std::vector<std::string> names;
    DatabaseDataList().Find([&](const TVTRDatabaseData& database) {
      names.push_back(database.DatabaseFileName);
      return false;
    });
    EXPECT_EQ(std::vector<std::string>(names.end() - 2, names.end()),
              (std::vector<std::string>{TVTRMemoryDatabaseData::kName, TVTRTemporaryDatabaseData::kName}));
    EXPECT_EQ(DefaultSession().SessionName(), "Default");
    EXPECT_FALSE(DefaultSession().Active());
    EXPECT_FALSE(DesignModeFlag());
    EXPECT_FALSE(WaitWindow().Visible());
  }
  EXPECT_EQ(DatabaseDataList().GetCount(), 0);
  EXPECT_ENGINE_ERROR(DefaultSession(), 20007, "Database Engine is not initialized");
}

class Sessions : public ComponentTest {};

TEST_F(Sessions, AreFoundByNameIgnoringCaseAndTheEmptyNameIsTheDefault) {
  EXPECT_EQ(&SessionList().GetSession(""), &DefaultSession());
  EXPECT_EQ(&SessionList().GetSession("default"), &DefaultSession());
  EXPECT_ENGINE_ERROR(SessionList().GetSession("nope"), 20002, "Invalid session name 'nope'");
  TVTRSession own(nullptr);
  own.SetSessionName("Reports");
  EXPECT_EQ(SessionList().FindSession("REPORTS"), &own);
  TVTRSession other(nullptr);
  EXPECT_EQ(DatabaseErrorOf([&] { other.SetSessionName("reports"); }), "Duplicate session name 'reports'");
  EXPECT_EQ(DatabaseErrorOf([&] { other.SetActive(true); }), "Session name missing");
}

TEST_F(Sessions, HandlesFollowActivation) {
  EXPECT_ENGINE_ERROR(SessionList().ProcessHandle(), 20007, "Database Engine is not initialized");
  TVTRSession own(nullptr);
  own.SetSessionName("Own");
  own.SetActive(true);
  ASSERT_TRUE(DefaultSession().Active()) << "a session needs the default session active";
  EXPECT_EQ(DefaultSession().Handle, &SessionList().ProcessHandle());
  EXPECT_NE(own.Handle, DefaultSession().Handle);
  EXPECT_EQ(SessionList().CurrentHandle(), own.Handle);
  EXPECT_EQ(DatabaseErrorOf([&] { own.SetSessionName("Other"); }),
            "Cannot perform this operation on an active session");
  own.SetActive(false);
  EXPECT_EQ(SessionList().CurrentHandle(), DefaultSession().Handle);
  DefaultSession().SetActive(false);
  EXPECT_ENGINE_ERROR(SessionList().ProcessHandle(), 20007, "Database Engine is not initialized");
}

TEST_F(Sessions, AnAliasNoComponentHasGetsATemporarySilentDatabaseFreedAtItsLastRelease) {
  TVTRSession& session = DefaultSession();
  for (const bool keep : {false, true}) {
    SCOPED_TRACE(keep);
    session.KeepConnections = keep;
    TVTRDatabase* temp = session.OpenDatabase("TEMP", nullptr);
    EXPECT_TRUE(temp->Temporary);
    EXPECT_TRUE(temp->SilentMode);
    EXPECT_EQ(temp->Owner(), &session);
    EXPECT_EQ(temp->EngineSession()->DatabaseData, ListedDatabase(TVTRTemporaryDatabaseData::kName));
    EXPECT_EQ(session.OpenDatabase("temp", nullptr), temp) << "a second dataset shares it";
    EXPECT_EQ(temp->RefCount, 2);
    session.ReleaseDatabase(temp);
    EXPECT_EQ(session.FindDatabase("TEMP"), temp);
    session.ReleaseDatabase(temp);
    EXPECT_EQ(session.FindDatabase("TEMP"), keep ? temp : nullptr);
  }
  // Made inactive, a session frees its temporary databases.
  session.SetActive(false);
  EXPECT_EQ(session.FindDatabase("TEMP"), nullptr);
  EXPECT_EQ(session.ComponentCount(), 0);
}

TEST_F(Sessions, AFailedOpenFreesTheTemporaryDatabaseItMade) {
  EXPECT_ANY_THROW(DefaultSession().OpenDatabase("nowhere", nullptr));
  EXPECT_EQ(DefaultSession().FindDatabase("nowhere"), nullptr);
  EXPECT_EQ(DefaultSession().ComponentCount(), 0);
}

TEST_F(Sessions, AutomaticNamesNumberTheSessionsOfFormsWithTheSameComponentName) {
  TComponent form1(nullptr);
  TComponent form2(nullptr);
  auto* first = new TVTRSession(&form1);
  first->SetName("Session1");
  auto* second = new TVTRSession(&form2);
  second->SetName("Session1");
  auto database = Database("d_main", "x.vtr", &form2);
  first->SetAutoSessionName(true);
  second->SetAutoSessionName(true);
  EXPECT_EQ(first->SessionName(), "Session1_1");
  EXPECT_EQ(second->SessionName(), "Session1_2");
  EXPECT_EQ(database->Session(), second) << "the form's database takes the session's name";
  EXPECT_EQ(database->SessionName(), "Session1_2");
  auto later = Database("d_work", "x.vtr", &form1);
  EXPECT_EQ(later->Session(), first) << "a database created later on the form takes it too";

  EXPECT_EQ(DatabaseErrorOf([&] { first->SetSessionName("x"); }),
            "Cannot modify SessionName while AutoSessionName is enabled");
  EXPECT_EQ(DatabaseErrorOf([&] { new TVTRSession(&form1); }),
            "Cannot add a session to the form or data-module while session 'Session1' has AutoSessionName "
            "enabled");
  first->SetName("Main");
  EXPECT_EQ(first->SessionName(), "Main_1");
  // A freed number is taken again.
  first->SetAutoSessionName(false);
  auto* third = new TVTRSession(&form1);
  third->SetName("Extra");
  EXPECT_EQ(DatabaseErrorOf([&] { third->SetAutoSessionName(true); }),
            "Cannot enable AutoSessionName property with more than one session on a form or data-module");
  TComponent form3(nullptr);
  auto* fourth = new TVTRSession(&form3);
  fourth->SetName("Session4");
  fourth->SetAutoSessionName(true);
  EXPECT_EQ(fourth->SessionName(), "Session4_1");
}

TEST_F(Sessions, DatabasesOfAFreedSessionFallBackToTheDefaultSession) {
  const std::string file_name = CreateFile("d.vtr");
  auto* session = new TVTRSession(nullptr);
  session->SetSessionName("Own");
  auto database = Database("d_own", file_name);
  database->SetSessionName("Own");
  ASSERT_EQ(database->Session(), session);
  database->Open();
  EXPECT_TRUE(session->Active());
  delete session;
  EXPECT_FALSE(database->Connected());
  EXPECT_EQ(database->Session(), &DefaultSession());
  EXPECT_EQ(database->SessionName(), "");
  database->Open();
  EXPECT_TRUE(database->Connected());
}

}  // namespace
