#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/engine/access/ComponentFixture.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

// A dataset attached to a database, writing its name into a log when the
// database disconnects it.
class LoggedDataSet : public TVTRSessionDataSet {
 public:
  LoggedDataSet(TVTRDatabase& database, std::string name, bool query, std::vector<std::string>& log,
                bool detaches = true)
      : database_(database), name_(std::move(name)), query_(query), log_(log), detaches_(detaches) {
    database_.AddDataSet(this);
  }
  bool IsQuery() const override { return query_; }
  void Disconnect() override {
    log_.push_back(name_);
    if (detaches_) database_.RemoveDataSet(this);
  }
  const std::string& SessionName() const override { return session_name_; }
  void SetSessionName(const std::string& name) override { session_name_ = name; }

 private:
  TVTRDatabase& database_;
  std::string name_;
  bool query_;
  std::vector<std::string>& log_;
  bool detaches_;
  std::string session_name_;
};

class DatabaseComponent : public ComponentTest {
 protected:
  std::string file_ = CreateFile("dat_temple.vtr");
};

TEST_F(DatabaseComponent, StartsWithItsDefaults) {
  TVTRDatabase database(nullptr);
  EXPECT_EQ(TVTRDatabase::CurrentVersion(), "4.81 ");
  EXPECT_TRUE(database.KeepConnection());
  EXPECT_EQ(database.PageSize, 4096);
  EXPECT_EQ(database.PagesPerExtent, 8);
  EXPECT_EQ(database.MaxConnections, 500);
  EXPECT_FALSE(database.HandleShared || database.SilentMode || database.MultiUser || database.Exclusive);
  EXPECT_EQ(database.Session(), &DefaultSession());
  EXPECT_EQ(database.SessionName(), "Default");
  EXPECT_FALSE(database.Connected());
  EXPECT_EQ(DatabaseErrorOf([&] { database.Open(); }), "Database name missing");
}

TEST_F(DatabaseComponent, AMissingFileIsReportedBeforeAnyEngineObjectExists) {
  auto database = Database("d_main", "x.vtr");
  const int32_t listed = DatabaseDataList().GetCount();
  EXPECT_EQ(DatabaseErrorOf([&] { database->Open(); }), "Database file 'x.vtr' does not exist");
  EXPECT_FALSE(database->Connected());
  EXPECT_EQ(database->EngineSession(), nullptr);
  EXPECT_EQ(DatabaseDataList().GetCount(), listed);
}

TEST_F(DatabaseComponent, ConnectingTakesTheFilesSettings) {
  auto database = Database("d_main", file_);
  database->PageSize = 8192;
  database->SetConnected(true);
  EXPECT_TRUE(database->Connected());
  EXPECT_EQ(database->PageSize, 4096);
  EXPECT_EQ(database->MaxConnections, 8);
  EXPECT_FALSE(database->ReadOnly);
  EXPECT_EQ(DatabaseErrorOf([&] { database->SetDatabaseName("other"); }),
            "Cannot perform this operation on an open database");
  database->SetConnected(false);
  EXPECT_FALSE(database->Connected());
  EXPECT_EQ(ListedDatabase(file_), nullptr);
}

TEST_F(DatabaseComponent, TransactionsNeedAConnectionAndAreNotNested) {
  auto database = Database("d_main", file_);
  EXPECT_EQ(DatabaseErrorOf([&] { database->StartTransaction(); }),
            "Cannot perform this operation on a closed database");
  EXPECT_EQ(DatabaseErrorOf([&] { database->Commit(true); }), "Cannot perform this operation on a closed database");
  EXPECT_FALSE(database->InTransaction());
  database->Open();
  database->StartTransaction();
  EXPECT_TRUE(database->InTransaction());
  EXPECT_EQ(DatabaseErrorOf([&] { database->StartTransaction(); }), "Database already in transaction");
  database->Commit(true);
  EXPECT_FALSE(database->InTransaction());
  EXPECT_EQ(EngineErrorMessageOf([&] { database->Commit(true); }),
            "Database is not in transaction. Cannot perform operation - Native error: 20229");
  EXPECT_EQ(NativeErrorOf([&] { database->Rollback(); }), 20229);
  database->StartTransaction();
  database->Rollback();
  EXPECT_FALSE(database->InTransaction());
}

TEST_F(DatabaseComponent, TableQuestionsConnect) {
  auto database = Database("d_main", file_);
  TStringList names;
  database->GetTableNames(names);
  ASSERT_EQ(names.Count(), 1);
  EXPECT_EQ(names[0], "Donate");
  EXPECT_FALSE(database->Connected()) << "GetTableNames disconnects again";
  EXPECT_TRUE(database->TableExists("donate"));
  EXPECT_TRUE(database->Connected()) << "TableExists stays connected";
  EXPECT_FALSE(database->TableExists("Member"));

  TStringList none;
  auto missing = Database("d_missing", folder_.File("missing.vtr"));
  missing->GetTableNames(none);
  EXPECT_EQ(none.Count(), 0) << "failures are swallowed";
}

TEST_F(DatabaseComponent, ChangingTheFileNameOrDroppingKeepConnectionDisconnects) {
  auto database = Database("d_main", file_);
  database->SetKeepConnection(true);
  database->Open();
  database->SetDatabaseFileName(file_);
  EXPECT_TRUE(database->Connected()) << "the same name changes nothing";
  database->SetDatabaseFileName(folder_.File("other.vtr"));
  EXPECT_FALSE(database->Connected());
  EXPECT_EQ(ListedDatabase(file_), nullptr);

  database->SetDatabaseFileName(file_);
  database->Open();
  database->RefCount = 1;
  database->SetKeepConnection(false);
  EXPECT_TRUE(database->Connected()) << "a dataset still uses it";
  database->RefCount = 0;
  database->SetKeepConnection(false);
  EXPECT_FALSE(database->Connected());
}

TEST_F(DatabaseComponent, TwoAliasesOnOneFileShareItsDatabaseObjectWithTwoSlots) {
  auto main = Database("d_main", file_);
  auto work = Database("d_work", file_);
  main->Open();
  work->Open();
  ASSERT_NE(ListedDatabase(file_), nullptr);
  EXPECT_EQ(main->EngineSession()->DatabaseData, ListedDatabase(file_));
  EXPECT_EQ(work->EngineSession()->DatabaseData, ListedDatabase(file_));
  EXPECT_NE(main->EngineSession()->SessionID, work->EngineSession()->SessionID);
  EXPECT_EQ(ListedDatabase(file_)->Sessions.size(), 2u);
  main->Close();
  EXPECT_NE(ListedDatabase(file_), nullptr);
  work.reset();  // destroying a component closes it
  EXPECT_EQ(ListedDatabase(file_), nullptr);
}

TEST_F(DatabaseComponent, AnAliasIsUsedOnceInASessionUnlessBothShareTheirHandle) {
  auto first = Database("d_main", file_);
  TVTRDatabase second(nullptr);
  EXPECT_EQ(DatabaseErrorOf([&] { second.SetDatabaseName("D_MAIN"); }),
            "Cannot perform this operation on an open database");
  EXPECT_EQ(second.DatabaseName(), "");

  first->HandleShared = true;
  second.HandleShared = true;
  second.SetDatabaseName("d_main");
  first->Open();
  second.Open();
  EXPECT_TRUE(second.SessionShared());
  EXPECT_EQ(second.EngineSession(), first->EngineSession());
  second.Close();
  EXPECT_TRUE(first->Connected()) << "closing the sharer only forgets the engine session";

  // An unused temporary database of the alias gives way.
  TVTRDatabase* temporary = DefaultSession().OpenDatabase("TEMP", nullptr);
  DefaultSession().ReleaseDatabase(temporary);
  TVTRDatabase third(nullptr);
  third.SetDatabaseName("TEMP");
  EXPECT_EQ(DefaultSession().FindDatabase("TEMP"), &third);
}

TEST_F(DatabaseComponent, TwoWindowsEachOwnADatabaseOfTheSameAliasWithItsOwnConnection) {
  TComponent room_register(nullptr);
  TComponent land_register(nullptr);
  auto rooms = Database("d_same", file_, &room_register);
  auto lands = Database("d_same", file_, &land_register);
  rooms->Open();
  lands->Open();
  EXPECT_NE(rooms->EngineSession(), lands->EngineSession());
  EXPECT_NE(rooms->EngineSession()->SessionID, lands->EngineSession()->SessionID);
  EXPECT_EQ(DefaultSession().FindDatabaseForOwner("D_SAME", &room_register), rooms.get());
  EXPECT_EQ(DefaultSession().FindDatabaseForOwner("d_same", &land_register), lands.get());

  TVTRDatabase second(&room_register);
  EXPECT_EQ(DatabaseErrorOf([&] { second.SetDatabaseName("d_same"); }),
            "Cannot perform this operation on an open database");
  auto ownerless = Database("d_same", file_);
  TVTRDatabase another(nullptr);
  EXPECT_EQ(DatabaseErrorOf([&] { another.SetDatabaseName("d_same"); }),
            "Cannot perform this operation on an open database")
      << "two databases without owner clash too";
}

TEST_F(DatabaseComponent, ClosingDisconnectsTheQueriesFirstThenTheRestLastFirst) {
  auto database = Database("d_main", file_);
  database->Open();
  std::vector<std::string> log;
  LoggedDataSet table1(*database, "table1", false, log);
  LoggedDataSet query1(*database, "query1", true, log);
  LoggedDataSet table2(*database, "table2", false, log, false);
  LoggedDataSet query2(*database, "query2", true, log, false);
  LoggedDataSet table3(*database, "table3", false, log);
  database->RefCount = 2;
  database->Close();
  EXPECT_EQ(log, (std::vector<std::string>{"query1", "query2", "table3", "table2", "table1"}));
  EXPECT_FALSE(database->Connected());
  EXPECT_EQ(database->RefCount, 0);
  EXPECT_EQ(database->DataSets().size(), 2u) << "those that stayed attached";
}

}  // namespace
