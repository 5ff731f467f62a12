// The table component: its active index, the key buffers every open
// prepares, definitions read from the table, temporary and in-memory
// tables, the existence test and the database a window's table attaches to.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/db/DB.h"
#include "tests/engine/access/TableFixture.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

class Tables : public TableTest {
 protected:
  void SetUp() override {
    auto table = Table();
    table->Open();
    Add(*table, {{3, "Anan", 30}, {1, "Chai", 10}, {2, "Bua", 20}, {4, "Anan", 40}});
  }

  static std::vector<std::string> DonorsFromHere(TVTRTable& table) {
    std::vector<std::string> donors;
    for (; !table.Eof(); table.Next()) donors.push_back(table.FieldByName("Donor")->AsString());
    return donors;
  }

  static TStringList Strings(std::initializer_list<const char*> items) {
    TStringList list;
    for (const char* item : items) list.Add(item);
    return list;
  }
};

TEST_F(Tables, IndexFieldNamesSelectTheIndexCoveringThemOrTheTableStaysClosed) {
  auto table = Table();
  table->SetIndexFieldNames("Donor");
  table->Open();
  EXPECT_EQ(table->IndexName(), "");
  EXPECT_EQ(table->IndexFieldNames(), "Donor");
  EXPECT_EQ(table->Handle()->IndexName, "ByDonor");
  EXPECT_EQ(DonorsFromHere(*table), (std::vector<std::string>{"Anan", "Anan", "Bua", "Chai"}));
  EXPECT_EQ(table->IndexFieldCount(), 1);
  EXPECT_EQ(table->IndexField(0), table->FieldByName("Donor"));
  EXPECT_TRUE(table->FieldByName("Donor")->IsIndexField());
  EXPECT_FALSE(table->FieldByName("ID")->IsIndexField());
  EXPECT_EQ(DatabaseErrorOf([&] { table->IndexField(1); }), "Field index out of range");

  auto unindexed = Table();
  unindexed->SetIndexFieldNames("Amount");
  EXPECT_EQ(DatabaseErrorOf([&] { unindexed->Open(); }), "No index for fields 'Amount'");
  EXPECT_FALSE(unindexed->Active());
  EXPECT_FALSE(unindexed->DBFlag(dbfOpen));
  auto unknown = Table("Donate", "NoSuchIndex");
  EXPECT_ENGINE_ERROR(unknown->Open(), 10325, "Cannot find index NoSuchIndex");
  EXPECT_FALSE(unknown->Active());
}

TEST_F(Tables, ChangingTheIndexOfAnOpenTableKeepsTheRecordAndClearsTheRange) {
  auto table = Table("Donate", "ByID");
  table->Open();
  table->Next();
  table->Next();
  ASSERT_EQ(table->FieldByName("ID")->AsInteger(), 3);
  uint8_t* range_start = table->KeyBuffer(kiCurRangeStart);
  WriteKeyInfo({true, false, 1}, range_start, table->Handle()->RecordSize);
  table->SetIndexName("ByDonor");
  EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 3) << "the current record stays";
  EXPECT_FALSE(ReadKeyInfo(range_start, table->Handle()->RecordSize).Modified) << "the range is cleared";
  EXPECT_EQ(table->IndexFieldNumbers(), std::vector<int16_t>{2});
  table->First();
  EXPECT_EQ(DonorsFromHere(*table), (std::vector<std::string>{"Anan", "Anan", "Bua", "Chai"}));

  table->Edit();
  table->FieldByName("Amount")->SetAsFloat(35);
  table->SetIndexName("ByID");
  EXPECT_EQ(table->State(), dsBrowse) << "the pending edit is posted first";
  table->First();
  EXPECT_EQ(IdsFromHere(*table), (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST_F(Tables, EveryOpenPreparesSixEmptyKeyBuffersAndCloseFreesThem) {
  auto table = Table("Donate", "ByID");
  table->Open();
  const TVTRCursor& cursor = *table->Handle();
  for (int i = 0; i < kKeyBufferCount; ++i) {
    const uint8_t* key = table->KeyBuffer(static_cast<TVTRKeyIndex>(i));
    ASSERT_NE(key, nullptr);
    const TVTRKeyInfo info = ReadKeyInfo(key, cursor.RecordSize);
    EXPECT_FALSE(info.Modified || info.Exclusive || info.FieldCount != 0);
    for (int32_t field = 0; field < cursor.FieldDefs.GetCount(); ++field)
      EXPECT_FALSE(cursor.GetFieldData(field, nullptr, key)) << "every field null";
  }
  EXPECT_FALSE(cursor.HasRange());
  table->Close();
  EXPECT_EQ(table->KeyBuffer(kiLookup), nullptr);
  EXPECT_TRUE(table->IndexFieldNumbers().empty());
}

TEST_F(Tables, DefinitionsAreReadFromTheTableEvenWhileItIsClosed) {
  auto table = Table();
  table->FieldDefs().Update();
  ASSERT_EQ(table->FieldDefs().Count(), 3);
  EXPECT_EQ(table->FieldDefs()[1]->Name(), "Donor");
  EXPECT_EQ(table->FieldDefs()[1]->Size(), 20);
  table->IndexDefs().Update();
  ASSERT_EQ(table->IndexDefs().Count(), 2);
  EXPECT_EQ(table->IndexDefs()[0]->Name(), "ByID");
  EXPECT_TRUE(table->IndexDefs()[0]->Options().Contains(ixUnique));
  EXPECT_EQ(table->IndexDefs()[1]->Fields(), "Donor");
  EXPECT_EQ(table->RestructureAdvIndexDefs().GetCount(), 2);
  EXPECT_EQ(table->Database(), nullptr) << "attached only while reading";
  EXPECT_FALSE(database_->Connected());
  EXPECT_FALSE(table->StoreDefs()) << "the table's own definitions are not a program's change";
  table->FieldDefs().Add("Extra", ftInteger);
  EXPECT_TRUE(table->StoreDefs());
}

TEST_F(Tables, EachOpenShowsTheFieldsTheTableHasThenAlsoAfterAnotherConnectionChangedThem) {
  auto table = Table();
  table->Open();
  ASSERT_EQ(table->FieldDefs().Count(), 3);
  EXPECT_EQ(table->FieldDefs()[2]->Name(), "Amount");
  EXPECT_EQ(table->IndexDefs().Count(), 2);
  table->Close();

  const std::unique_ptr<TVTRDatabase> other = Database("d_other", file_, &form_);
  TVTRTable renaming(&form_);
  renaming.SetDatabaseName("d_other");
  renaming.SetTableName("Donate");
  renaming.RenameField("Amount", "Total");

  table->Open();
  ASSERT_EQ(table->FieldDefs().Count(), 3);
  EXPECT_EQ(table->FieldDefs()[2]->Name(), "Total");
  EXPECT_EQ(table->FindField("Amount"), nullptr);
  ASSERT_NE(table->FindField("Total"), nullptr);
  table->First();
  EXPECT_EQ(table->FieldByName("Total")->AsFloat(), 30);
}

TEST_F(Tables, ExistsAnswersWithoutRaisingAndReleasesADatabaseItAttached) {
  struct Case {
    const char* alias;
    const char* table;
    bool exists;
  };
  for (const Case& c : {Case{"d_main", "donate", true}, Case{"d_main", "Member", false},
                        Case{"", "Donate", false}, Case{"d_nowhere", "Donate", false}}) {
    auto table = Table(c.table);
    table->SetDatabaseName(c.alias);
    EXPECT_EQ(table->Exists(), c.exists) << c.alias << "." << c.table;
    EXPECT_EQ(table->Database(), nullptr);
  }
  EXPECT_FALSE(database_->Connected());
  EXPECT_EQ(database_->RefCount, 0);
}

TEST_F(Tables, AWindowsTableAttachesToTheDatabaseOfItsOwnWindow) {
  TComponent room_register(nullptr);
  TComponent land_register(nullptr);
  auto rooms = Database("d_same", file_, &room_register);
  auto lands = Database("d_same", file_, &land_register);
  std::vector<std::unique_ptr<TVTRTable>> tables;
  for (TComponent* form : {&room_register, &land_register}) {
    tables.push_back(std::make_unique<TVTRTable>(form));
    tables.back()->SetDatabaseName("d_same");
    tables.back()->SetTableName("Donate");
    tables.back()->Open();
  }
  EXPECT_EQ(tables[0]->Database(), rooms.get());
  EXPECT_EQ(tables[1]->Database(), lands.get());
  ASSERT_TRUE(rooms->Connected() && lands->Connected());
  EXPECT_NE(rooms->EngineSession()->SessionID, lands->EngineSession()->SessionID) << "a connection slot each";
  EXPECT_EQ(tables[0]->RecordCount(), 4);
  EXPECT_EQ(tables[1]->RecordCount(), 4);

  TVTRDatabase second(&room_register);
  EXPECT_EQ(DatabaseErrorOf([&] { second.SetDatabaseName("d_same"); }),
            "Cannot perform this operation on an open database");
  tables[0]->Close();
  EXPECT_FALSE(rooms->Connected());
  EXPECT_TRUE(lands->Connected()) << "the other window's connection stays";
}

TEST_F(Tables, TemporaryAndInMemoryTablesAreMadeFromTheComponentsOwnDefinitions) {
  TVTRTable memory(nullptr);
  memory.SetInMemory(true);
  memory.SetTableName("Scratch");
  auto* number = new TIntegerField(&memory);
  number->SetFieldName("N");
  number->SetDataSet(&memory);
  auto* text = new TStringField(&memory);
  text->SetFieldName("S");
  text->SetSize(8);
  text->SetDataSet(&memory);
  memory.CreateTable();
  memory.Open();
  memory.Append();
  number->SetAsInteger(7);
  text->SetAsString("seven");
  memory.Post();
  EXPECT_EQ(memory.FieldDefs().Count(), 2) << "the persistent fields made the columns";
  EXPECT_EQ(memory.RecordCount(), 1);
  memory.Close();

  TVTRTable temporary(nullptr);
  temporary.SetTemporary(true);
  EXPECT_EQ(temporary.DatabaseName(), "TEMP");
  temporary.SetTableName("Result");
  temporary.FieldDefs().Add("Total", ftFloat);
  temporary.CreateTable();
  EXPECT_TRUE(temporary.Exists());
  temporary.Open();
  EXPECT_EQ(temporary.FieldByName("Total")->DataType(), ftFloat);
  temporary.Close();
  temporary.DeleteTable();
  EXPECT_FALSE(temporary.Exists());
}

TEST_F(Tables, TemporaryIndexesNeedAnOpenTableAndShowDistinctRecords) {
  auto table = Table();
  std::string name;
  EXPECT_ENGINE_ERROR(table->CreateTemporaryIndex(Strings({"Donor"}), Strings({"ASC"}), Strings({"CASE"}), name),
                      10311, "Nil pointer occured");
  EXPECT_ENGINE_ERROR(table->ActivateTemporaryIndex(Strings({"Donor"}), Strings({"ASC"}), Strings({"CASE"})), 10319,
                      "Nil pointer occured");
  table->Open();
  table->ActivateTemporaryIndex(Strings({"Donor"}), Strings({"DESC"}), Strings({"CASE"}));
  EXPECT_EQ(table->IndexName(), table->Handle()->IndexName);
  table->First();
  EXPECT_EQ(DonorsFromHere(*table), (std::vector<std::string>{"Chai", "Bua", "Anan"}));
}

TEST_F(Tables, ExportOptionsStartAsStructureWithDropAndCopyWhole) {
  auto table = Table();
  const TVTRExportToSqlOptions& options = table->ExportToSqlOptions();
  EXPECT_TRUE(options.Structure && options.AddDropTable);
  EXPECT_FALSE(options.BlobSettings || options.Data || options.FieldNamesInInserts || options.QuotedNames);
  TVTRExportToSqlOptions other;
  other.Structure = false;
  other.QuotedNames = true;
  table->ExportToSqlOptions().Assign(&other);
  EXPECT_FALSE(options.Structure);
  EXPECT_TRUE(options.QuotedNames);
  EXPECT_ANY_THROW(table->ExportToSqlOptions().Assign(&table->IndexDefs()));
}

}  // namespace
