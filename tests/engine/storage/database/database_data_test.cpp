#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "engine/storage/VTRBaseEngine.h"
#include "tests/engine/storage/common/TestCursor.h"
#include "tests/engine/storage/common/TestDatabase.h"
#include "tests/engine/storage/common/TestSession.h"

namespace {

TEST(DatabaseData, FindsAndCreatesTableObjectsByNameIgnoringCase) {
  TestDatabase database("SHOP.VTR");
  TestCursor donate;
  donate.TableName = "Donate";
  TVTRTableData* created = database.GetTableData(donate);
  TestCursor upper;
  upper.TableName = "DONATE";
  EXPECT_EQ(database.FindTableData(upper), created);
  EXPECT_EQ(database.GetTableData(upper), created);
  EXPECT_EQ(database.TableDataList.size(), 1u);
  EXPECT_TRUE(database.TableExists("donate"));
  EXPECT_FALSE(database.TableExists("Goods")) << "only the table objects are listed";
  database.FreeTableData(created);
  EXPECT_FALSE(database.TableExists("Donate"));
}

TEST(DatabaseData, RollbackWithoutAPageCacheStillTellsEveryTable) {
  TestDatabase database("SHOP.VTR");
  TestCursor cursor;
  for (const char* name : {"A", "B"}) {
    cursor.TableName = name;
    database.GetTableData(cursor);
  }
  database.Commit(3, true);
  database.Rollback(3);
  for (const auto& table : database.TableDataList)
    EXPECT_EQ(static_cast<TestTable&>(*table).RolledBack, std::vector<int32_t>{3});
}

TEST(DatabaseData, SessionsAttachWithSessionIDZero) {
  TestDatabase database("SHOP.VTR");
  TestSession session(-1);
  database.ConnectSession(session);
  EXPECT_EQ(session.SessionID, 0);
  EXPECT_EQ(database.Sessions, std::vector<TVTRBaseSession*>{&session});
  database.DisconnectSession(session);
  EXPECT_TRUE(database.Sessions.empty());
}

class DatabaseDataListTest : public ::testing::Test {
 protected:
  ~DatabaseDataListTest() override {
    for (TVTRDatabaseData* added : added_) DatabaseDataList().Free(added);
  }

  TVTRDatabaseData* Add(const char* file_name, bool lives_for_process, int* tables_freed = nullptr) {
    added_.push_back(
        DatabaseDataList().Add(std::make_unique<TestDatabase>(file_name, lives_for_process, tables_freed)));
    return added_.back();
  }

  static bool Listed(const char* file_name) {
    return DatabaseDataList().Find(
        [&](const TVTRDatabaseData& d) { return d.DatabaseFileName == file_name; });
  }

  std::vector<TVTRDatabaseData*> added_;
};

TEST_F(DatabaseDataListTest, AFileDatabaseGoesWithItsLastSessionAndItsTables) {
  int tables_freed = 0;
  TVTRDatabaseData* database = Add("SHOP.VTR", false, &tables_freed);
  TestSession session;
  database->ConnectSession(session);
  for (const char* name : {"A", "B"}) {
    TestCursor cursor;
    cursor.TableName = name;
    database->GetTableData(cursor);
  }
  EXPECT_FALSE(database->FreeIfNoSessions());
  EXPECT_TRUE(Listed("SHOP.VTR"));
  database->DisconnectSession(session);
  EXPECT_TRUE(database->FreeIfNoSessions());
  EXPECT_FALSE(Listed("SHOP.VTR"));
  EXPECT_EQ(tables_freed, 2);
}

TEST_F(DatabaseDataListTest, MemoryAndTempStayForTheProcess) {
  for (const char* name : {"MEMORY", "TEMP"}) {
    TVTRDatabaseData* database = Add(name, true);
    TestSession session;
    database->ConnectSession(session);
    database->DisconnectSession(session);
    EXPECT_FALSE(database->FreeIfNoSessions());
    EXPECT_TRUE(Listed(name));
  }
}

TEST_F(DatabaseDataListTest, TheListsLockComesBeforeADatabasesSection) {
  TVTRDatabaseData* database = Add("SHOP.VTR", false);
  database->Lock();
  EXPECT_THROW(DatabaseDataList().Lock(), std::logic_error);
  database->Unlock();

  TVTRDatabaseDataListGuard list_guard(DatabaseDataList());
  TVTRDatabaseDataGuard guard(*database);
  EXPECT_TRUE(Listed("SHOP.VTR")) << "the list's lock may be taken again by its holder";
}

TEST(DatabaseDataSection, IsReentrantAndKeepsOtherThreadsOut) {
  TestDatabase database("SHOP.VTR");
  database.Lock();
  database.Lock();
  std::atomic<bool> entered = false;
  std::thread other([&] {
    database.Lock();
    entered = true;
    database.Unlock();
  });
  database.Unlock();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(entered) << "held once more by this thread";
  database.Unlock();
  other.join();
  EXPECT_TRUE(entered);
}

}  // namespace
