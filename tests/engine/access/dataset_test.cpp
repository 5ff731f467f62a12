// The dataset component through a table on a real file: attaching to the
// database, opening and closing, fetching, positioning and bookmarks.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/access/LocalSession.h"
#include "platform/db/DB.h"
#include "tests/engine/access/TableFixture.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

class DataSets : public TableTest {
 protected:
  void SetUp() override {
    auto table = Table("Donate", "ByID");
    table->Open();
    Add(*table, {{3, "Chai", 30}, {1, "Anan", 10}, {2, "Bua", 20}});
  }
};

TEST_F(DataSets, AttachWhileAFlagIsSetAndTheLastClosedTableDisconnectsTheFile) {
  auto first = Table();
  auto second = Table();
  EXPECT_EQ(first->Database(), nullptr);
  first->Open();
  second->Open();
  EXPECT_TRUE(first->DBFlag(dbfOpen));
  EXPECT_EQ(first->Database(), database_.get());
  EXPECT_EQ(database_->DataSets().size(), 2u);
  EXPECT_EQ(database_->RefCount, 2);
  first->Close();
  EXPECT_FALSE(first->DBFlag(dbfOpen));
  EXPECT_EQ(first->Database(), nullptr);
  EXPECT_TRUE(database_->Connected()) << "the second table still uses it";
  second->Close();
  EXPECT_FALSE(database_->Connected()) << "KeepConnection is False";
  EXPECT_EQ(ListedDatabase(file_), nullptr) << "the last connection closed the file";
}

TEST_F(DataSets, TheLastClosedTableLeavesADatabaseInATransactionConnected) {
  database_->Open();
  database_->StartTransaction();
  {
    auto table = Table();
    table->Open();
    Add(*table, {{9, "Dao", 90}});
  }
  ASSERT_TRUE(database_->Connected()) << "the transaction would be lost";
  EXPECT_TRUE(database_->InTransaction());
  database_->Commit(true);
  database_->Close();
  auto table = Table();
  table->Open();
  EXPECT_EQ(table->RecordCount(), 4);
}

TEST_F(DataSets, ClosingTheDatabaseClosesEveryAttachedTableFirst) {
  auto first = Table();
  auto second = Table();
  first->Open();
  second->Open();
  database_->Close();
  EXPECT_FALSE(first->Active());
  EXPECT_FALSE(second->Active());
  EXPECT_EQ(first->Database(), nullptr);
  EXPECT_TRUE(database_->DataSets().empty());
  EXPECT_EQ(ListedDatabase(file_), nullptr);
}

TEST_F(DataSets, AFailedAttachLeavesNoFlagAndNoDatabase) {
  auto nowhere = Table();
  nowhere->SetDatabaseName("d_nowhere");
  EXPECT_ANY_THROW(nowhere->Open());
  auto unknown = Table();
  unknown->SetSessionName("NoSuchSession");
  EXPECT_ENGINE_ERROR(unknown->Open(), 20002, "Invalid session name 'NoSuchSession'");
  auto missing = Table("NoSuchTable");
  EXPECT_ANY_THROW(missing->Open());
  for (TVTRTable* table : {nowhere.get(), unknown.get(), missing.get()}) {
    EXPECT_FALSE(table->Active());
    EXPECT_FALSE(table->DBFlag(dbfOpen));
    EXPECT_EQ(table->Database(), nullptr);
  }
  EXPECT_EQ(DefaultSession().FindDatabase("d_nowhere"), nullptr) << "the stand-in database is gone";
  EXPECT_FALSE(database_->Connected());

  auto blank = Table();
  blank->SetDatabaseName("");
  EXPECT_EQ(DatabaseErrorOf([&] { blank->Open(); }), "DatabaseName property is blank");
  auto nameless = Table(" ");
  EXPECT_EQ(DatabaseErrorOf([&] { nameless->Open(); }), "Missing TableName property");
  EXPECT_FALSE(nameless->DBFlag(dbfOpen));
}

TEST_F(DataSets, TheAliasMemorySwitchesInMemoryAndAnAttachedDatasetKeepsItsAlias) {
  struct Case {
    const char* alias;
    bool in_memory;
  };
  TVTRTable table(nullptr);
  for (const Case& c : {Case{"memory", true}, Case{"d_main", false}, Case{"MEMORY", true}, Case{"TEMP", false}}) {
    table.SetDatabaseName(c.alias);
    EXPECT_EQ(table.InMemory(), c.in_memory) << c.alias;
  }
  table.SetInMemory(true);
  EXPECT_EQ(table.DatabaseName(), "MEMORY");
  table.SetInMemory(false);
  EXPECT_EQ(table.DatabaseName(), "MEMORY");
  EXPECT_EQ(TVTRDataSet::CurrentVersion(), "4.81 ");

  auto attached = Table();
  attached->SetDBFlag(dbfStructure, true);
  EXPECT_EQ(DatabaseErrorOf([&] { attached->SetDatabaseName("d_work"); }),
            "Cannot perform this operation on an open database");
  attached->SetDBFlag(dbfStructure, false);
  EXPECT_EQ(attached->Database(), nullptr);
}

TEST_F(DataSets, ClosingInEditStateDiscardsTheChangeWithoutTheCancelEvents) {
  auto table = Table("Donate", "ByID");
  int cancel_events = 0;
  table->BeforeCancel = [&](TDataSet*) { ++cancel_events; };
  table->AfterCancel = [&](TDataSet*) { ++cancel_events; };
  table->Open();
  table->Edit();
  table->FieldByName("Amount")->SetAsFloat(999);
  table->Close();
  EXPECT_EQ(cancel_events, 0);
  table->Open();
  EXPECT_EQ(table->FieldByName("Amount")->AsFloat(), 10);

  table->Insert();
  EXPECT_EQ(table->RecNo(), -1);
  table->Close();
  EXPECT_EQ(table->RecordCount(), 0);
  table->Open();
  EXPECT_EQ(table->RecordCount(), 3) << "the insert was discarded";
}

TEST_F(DataSets, RecordNumbersFollowTheActiveIndex) {
  auto table = Table("Donate", "ByID");
  table->Open();
  table->Last();
  EXPECT_EQ(table->RecNo(), 3);
  EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 3);
  table->SetRecNo(2);
  EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 2);
  EXPECT_EQ(table->RecNo(), 2);
}

TEST_F(DataSets, BookmarksCompareByPositionAndADeletedRecordsSortsFirst) {
  auto table = Table("Donate", "ByID");
  table->Open();
  const TBookmark first = table->GetBookmark();
  table->Next();
  const TBookmark second = table->GetBookmark();
  table->Next();
  const TBookmark third = table->GetBookmark();
  EXPECT_EQ(first.size(), 6u);
  struct Case {
    TBookmark a, b;
    int expected;
  };
  for (const Case& c : {Case{{}, second, 1}, Case{second, {}, -1}, Case{{}, {}, 0}, Case{first, second, -1},
                        Case{third, second, 1}, Case{second, second, 0}}) {
    EXPECT_EQ(table->CompareBookmarks(c.a, c.b), c.expected);
  }
  EXPECT_TRUE(table->BookmarkValid(second));
  table->GotoBookmark(second);
  EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 2);
  table->Delete();
  EXPECT_FALSE(table->BookmarkValid(second));
  for (const TBookmark& live : {first, third}) {
    EXPECT_EQ(table->CompareBookmarks(second, live), -1);
    EXPECT_EQ(table->CompareBookmarks(live, second), 1);
  }
}

TEST_F(DataSets, CalculatedFieldsAreComputedForEveryFetchedRecord) {
  auto table = Table("Donate", "ByID");
  auto* id = new TIntegerField(table.get());
  id->SetFieldName("ID");
  id->SetDataSet(table.get());
  auto* label = new TStringField(table.get());
  label->SetFieldName("Label");
  label->SetSize(10);
  label->SetFieldKind(fkCalculated);
  label->SetDataSet(table.get());
  table->OnCalcFields = [&](TDataSet*) { label->SetAsString("no " + std::to_string(id->AsInteger())); };
  table->Open();
  std::vector<std::string> labels;
  for (; !table->Eof(); table->Next()) {
    EXPECT_FALSE(label->IsNull());
    labels.push_back(label->AsString());
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"no 1", "no 2", "no 3"}));
}

// Reaches the cursor operations of a dataset that has no cursor.
class ClosedTable : public TVTRTable {
 public:
  using TVTRTable::TVTRTable;
  using TVTRTable::AllocRecordBuffer;
  using TVTRTable::GetRecord;
  using TVTRTable::GetRecordSize;
  using TVTRTable::InternalDelete;
  using TVTRTable::InternalEdit;
  using TVTRTable::InternalFirst;
  using TVTRTable::InternalGotoBookmark;
  using TVTRTable::InternalInitRecord;
  using TVTRTable::InternalLast;
  using TVTRTable::InternalPost;
};

TEST_F(DataSets, EveryCursorOperationWithoutACursorNamesItsPlace) {
  ClosedTable table(nullptr);
  uint8_t buffer[16] = {};
  TVTRVariant value;
  struct Case {
    int32_t code;
    const char* message;
    std::function<void()> run;
  };
  for (const Case& c : {Case{10041, "Nil pointer occured", [&] { table.GetRecord(buffer, gmNext, true); }},
                        Case{10042, "Nil pointer occured", [&] { table.SetRecNo(1); }},
                        Case{10044, "Nil pointer occured", [&] { table.InternalFirst(); }},
                        Case{10045, "Nil pointer occured", [&] { table.InternalLast(); }},
                        Case{10038, "Nil pointer occured", [&] { table.InternalGotoBookmark("123456"); }},
                        Case{10052, "Nil pointer occured", [&] { table.AllocRecordBuffer(); }},
                        Case{10054, "Nil pointer occured", [&] { table.InternalInitRecord(buffer); }},
                        Case{10055, "Nil pointer occured", [&] { table.GetRecordSize(); }},
                        Case{10063, "Nil pointer occured", [&] { table.CompareBookmarks({}, {}); }},
                        Case{10064, "Nil pointer occured", [&] { table.BookmarkValid("123456"); }},
                        Case{10065, "Nil pointer occured", [&] { table.InternalEdit(); }},
                        Case{10029, "Dataset is not opened", [&] { table.InternalPost(); }},
                        Case{10068, "Dataset is not opened", [&] { table.InternalDelete(); }},
                        Case{10315, "Nil pointer occured", [&] { table.GetFieldVariant(value, 0, true); }},
                        Case{10316, "Nil pointer occured", [&] { table.SetFieldVariant(value, 0, true); }}}) {
    EXPECT_ENGINE_ERROR(c.run(), c.code, c.message);
  }
  EXPECT_EQ(table.RecordCount(), 0);
}

TEST_F(DataSets, AWalkOverADamagedIndexEntryRaisesAnErrorNamingTheTableAndIndex) {
  {
    // Record 2 leaves its record page behind the index's back.
    auto session = DonateSession(file_, false);
    session->SetConnected(true);
    DonateCursor donations(*session);
    ASSERT_TRUE(donations.Find(2));
    session->StartTransaction();
    auto& cursor = donations.Cursor();
    ASSERT_TRUE(cursor.TableData->RecordManager->DeleteRecord(session->SessionID, cursor.CurrentRecordID));
    session->Commit(true);
  }
  auto table = Table("Donate", "ByID");
  table->Open();
  EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 1);
  try {
    while (!table->Eof()) table->Next();
    ADD_FAILURE() << "the walk ended as if the table ended at the damage";
  } catch (const EVTRException& e) {
    EXPECT_EQ(e.NativeError(), 10026);
    EXPECT_NE(e.Message().find("table 'Donate'"), std::string::npos) << e.Message();
    EXPECT_NE(e.Message().find("index 'ByID'"), std::string::npos) << e.Message();
  }
}

}  // namespace
