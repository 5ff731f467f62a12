#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/access/VTRLocalEngine.h"
#include "engine/storage/VTRDiskEngine.h"
#include "engine/storage/database/DatabaseDataList.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/engine/storage/common/TestDatabase.h"
#include "tests/support/ScratchFolder.h"

namespace {

bool Listed(const std::string& file_name) {
  return DatabaseDataList().Find([&](const TVTRDatabaseData& database) {
    return database.DatabaseFileName == file_name;
  }) != nullptr;
}

class LocalSession : public ::testing::Test {
 protected:
  LocalSession() {
    auto creator = Session();
    creator->CreateDatabase();
  }

  std::unique_ptr<TVTRLocalSession> Session(const std::string& file_name = {}) {
    auto session = std::make_unique<TVTRLocalSession>();
    session->DatabaseName = "d_main";
    session->DatabaseFileName = file_name.empty() ? name_ : file_name;
    session->MaxConnections = 5;
    session->PageSize = 4096;
    session->PagesPerExtent = 8;
    session->MultiUser = true;
    return session;
  }

  ScratchFolder folder_;
  std::string name_ = folder_.File("dat_temple.vtr");
};

TEST_F(LocalSession, SessionsOnOneFileShareOneDatabaseObjectThatGoesWithTheLast) {
  auto first = Session();
  first->PageSize = 8192;  // a file's own settings win over the component's
  first->SetConnected(true);
  EXPECT_EQ(first->PageSize, 4096);
  EXPECT_EQ(first->MaxConnections, 5);
  auto second = Session();
  second->SetConnected(true);
  EXPECT_TRUE(second->GetConnected());
  EXPECT_EQ(first->DatabaseData, second->DatabaseData);
  EXPECT_NE(first->SessionID, second->SessionID);
  first->SetConnected(false);
  EXPECT_EQ(first->SessionID, -1);
  EXPECT_TRUE(Listed(name_));
  second->SetConnected(false);
  EXPECT_FALSE(Listed(name_));
}

TEST_F(LocalSession, CreatingAFileThatThisProcessHasOpenIsRefused) {
  auto open = Session();
  open->SetConnected(true);
  EXPECT_ENGINE_ERROR(Session()->CreateDatabase(), 20092, "Cannot create database. Database is already open");
  open->SetConnected(false);
  Session()->CreateDatabase();
  EXPECT_FALSE(Listed(name_));
}

TEST_F(LocalSession, AFailedConnectionLeavesNothingBehind) {
  auto missing = Session(folder_.File("missing.vtr"));
  EXPECT_NE(NativeErrorOf([&] { missing->SetConnected(true); }), 0);
  EXPECT_FALSE(missing->GetConnected());
  EXPECT_FALSE(Listed(missing->DatabaseFileName));
}

TEST_F(LocalSession, CommitAndRollbackNeedATransaction) {
  auto session = Session();
  session->SetConnected(true);
  EXPECT_ENGINE_ERROR(session->Commit(false), 20229,
                      "Database is not in transaction. Cannot perform operation");
  EXPECT_ENGINE_ERROR(session->Rollback(), 20229, "Database is not in transaction. Cannot perform operation");
  session->StartTransaction();
  session->Commit(true);
  EXPECT_FALSE(session->InTransaction);
  session->StartTransaction();
  session->Rollback();
  EXPECT_FALSE(session->InTransaction);
}

TEST_F(LocalSession, OnlyTheExactAliasesNameTheProcessDatabases) {
  TVTRDatabaseData* temporary = DatabaseDataList().Add(std::make_unique<TestDatabase>("TEMP", true));
  auto session = Session(folder_.File("temp"));
  session->DatabaseName = "TEMP";
  EXPECT_EQ(session->FindDatabaseData(), temporary);
  session->SetConnected(true);
  EXPECT_EQ(session->DatabaseData, temporary);
  session->SetConnected(false);
  EXPECT_TRUE(Listed("TEMP")) << "the process databases stay";

  auto lower = Session();
  lower->DatabaseName = "temp";
  lower->SetConnected(true);
  EXPECT_NE(dynamic_cast<TVTRDiskDatabaseData*>(lower->DatabaseData), nullptr);
  lower->SetConnected(false);
  DatabaseDataList().Free(temporary);
}

TEST_F(LocalSession, ListsTheTablesOfTheFile) {
  auto session = Session();
  session->SetConnected(true);
  auto& database = static_cast<TVTRDiskDatabaseData&>(*session->DatabaseData);
  database.LockTableDirectory();
  database.AddTableEntry(7, "Donate", -1, -1, -1);
  database.Commit(kSystemSessionID, false);
  database.UnlockTableDirectory();
  TStringList names;
  session->GetTableNames(names);
  ASSERT_EQ(names.Count(), 1);
  EXPECT_EQ(names[0], "Donate");
  EXPECT_TRUE(session->TableExists("DONATE"));
  EXPECT_FALSE(session->TableExists("Goods"));
}

}  // namespace
