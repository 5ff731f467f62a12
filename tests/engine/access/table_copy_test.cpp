// Importing, copying and restructuring tables through the table component:
// structures and records carried over, problems logged or raised, the
// events or the wait window told, and a table never lost or left half
// converted.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/access/WaitWindow.h"
#include "platform/db/DB.h"
#include "tests/engine/access/TableFixture.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/support/ArrayDataSet.h"

namespace {

// The events of one operation as a table raises them.
struct EventTrace {
  int before = 0;
  int after = 0;
  std::vector<int32_t> percents;
};

class TableCopies : public TableTest {
 protected:
  void SetUp() override {
    auto table = Table();
    table->Open();
    Add(*table, {{3, "Anan", 30}, {1, "Chai", 10}, {2, "Bua", 20}, {4, "Anan", 40}});
  }

  // "ID:Donor:Amount" of every record of an open table in its current order.
  static std::vector<std::string> Rows(TVTRTable& table, const std::vector<std::string>& fields) {
    std::vector<std::string> rows;
    for (table.First(); !table.Eof(); table.Next()) {
      std::string row;
      for (const std::string& field : fields) row += (row.empty() ? "" : ":") + table.FieldByName(field)->AsString();
      rows.push_back(row);
    }
    return rows;
  }

  std::vector<std::string> RowsOf(const std::string& name, const std::vector<std::string>& fields,
                                  const std::string& index = "ByID") {
    auto table = Table(name, index);
    table->Open();
    return Rows(*table, fields);
  }

  std::vector<std::string> TableNames(TVTRDatabase& database) {
    TStringList names;
    database.GetTableNames(names);
    std::vector<std::string> all;
    for (int i = 0; i < names.Count(); ++i) all.push_back(names[i]);
    return all;
  }

  static void Trace(TDatasetNotifyEvent& before, TVTRProgressEvent& progress, TDatasetNotifyEvent& after,
                    EventTrace& trace) {
    before = [&trace](TObject*) { ++trace.before; };
    progress = [&trace](TObject*, int32_t percent, bool&) { trace.percents.push_back(percent); };
    after = [&trace](TObject*) { ++trace.after; };
  }

  const std::vector<std::string> donate_fields_{"ID", "Donor", "Amount"};
  const std::vector<std::string> all_donations_{"1:Chai:10", "2:Bua:20", "3:Anan:30", "4:Anan:40"};
  std::string log_;
  bool continue_ = true;
};

// ---- Import.

class Imports : public TableCopies {
 protected:
  TArrayDataSet source_{nullptr, {{"ID", ftInteger}, {"Name", ftString, 20}}};
  TIndexDefs source_indexes_{nullptr};

  void AddRows(const std::vector<std::pair<int32_t, std::string>>& rows) {
    source_.Open();
    for (const auto& [id, name] : rows) {
      source_.Append();
      source_.FieldByName("ID")->SetAsInteger(id);
      source_.FieldByName("Name")->SetAsString(name);
      source_.Post();
    }
  }
};

TEST_F(Imports, AnUnsupportedIndexIsLoggedAndSkippedWhileTheTableAndItsDataArrive) {
  AddRows({{1, "one"}, {2, "two"}, {3, "three"}});
  source_indexes_.Add("", "ID", TIndexOptions{ixPrimary});
  source_indexes_.Add("ByExpression", "", {});
  source_indexes_.Add("ByName", "Name", {});
  auto imported = Table("Imported");
  EXPECT_FALSE(imported->ImportTable(source_, log_, &source_indexes_));
  EXPECT_EQ(log_, "Cannot import index 'ByExpression'. Index type is not supported, index skipped\r\n");
  EXPECT_FALSE(imported->Active());
  EXPECT_EQ(RowsOf("Imported", {"ID", "Name"}, "idxPrimaryKey"),
            (std::vector<std::string>{"1:one", "2:two", "3:three"}));
  imported->IndexDefs().Update();
  ASSERT_EQ(imported->IndexDefs().Count(), 2);
  EXPECT_EQ(imported->IndexDefs()[0]->Name(), "idxPrimaryKey");
  EXPECT_TRUE(imported->IndexDefs()[0]->Options().Contains(ixPrimary));
  EXPECT_EQ(imported->IndexDefs()[1]->Name(), "ByName");

  log_.clear();
  TIndexDefs unknown_field(nullptr);
  unknown_field.Add("ByNothing", "Nothing", {});
  auto refused = Table("Refused");
  EXPECT_FALSE(refused->ImportTable(source_, log_, &unknown_field));
  EXPECT_EQ(log_.rfind("Error importing table. Cannot create table due to error: ", 0), 0u) << log_;
  EXPECT_EQ(log_.substr(log_.size() - 2), "\r\n");
}

TEST_F(Imports, ARecordThatBreaksAUniqueIndexIsLoggedWithItsNumberAndTheRestFollow) {
  AddRows({{1, "one"}, {2, "two"}, {2, "again"}, {3, "three"}});
  source_indexes_.Add("ByID", "ID", TIndexOptions{ixUnique});
  auto imported = Table("Imported");
  EXPECT_FALSE(imported->ImportTable(source_, log_, &source_indexes_));
  const std::string prefix =
      "Error importing table. Cannot copy data due to error: Error copying table. Record #3 was not imported due "
      "to error: ";
  EXPECT_EQ(log_.rfind(prefix, 0), 0u) << log_;
  EXPECT_EQ(RowsOf("Imported", {"ID", "Name"}), (std::vector<std::string>{"1:one", "2:two", "3:three"}));
}

TEST_F(Imports, AnEngineTableBringsItsStructureAndTheEventsOrTheWaitWindowHearOfIt) {
  auto donations = Table("Donate", "ByID");
  donations->Open();
  auto imported = Table("Imported");
  EventTrace trace;
  Trace(imported->BeforeImport, imported->OnImportProgress, imported->AfterImport, trace);
  EXPECT_TRUE(imported->ImportTable(*donations, log_)) << log_;
  EXPECT_EQ(RowsOf("Imported", donate_fields_), all_donations_);
  EXPECT_EQ(trace.before, 1);
  EXPECT_EQ(trace.after, 1);
  EXPECT_EQ(trace.percents, (std::vector<int32_t>{25, 50, 75, 100}));
  imported->IndexDefs().Update();
  EXPECT_EQ(imported->IndexDefs().Count(), 2);

  // Unassigned: the wait window stands in.
  WaitWindow().StartWait("Wait...");
  WaitWindow().StopWait();
  auto second = Table("Second");
  EXPECT_TRUE(second->ImportTable(*donations, log_));
  EXPECT_EQ(WaitWindow().Message(), "Import Table...");
  EXPECT_EQ(WaitWindow().Position(), 100);
  EXPECT_TRUE(WaitWindow().Finished);
}

// ---- Copy.

class Copies : public TableCopies {
 protected:
  Copies() {
    auto archive = Database("d_archive", archive_file_);
    archive->Open();
    auto gifts = std::make_unique<TVTRTable>(nullptr);
    gifts->SetDatabaseName("d_archive");
    gifts->SetTableName("Gifts");
    gifts->FieldDefs().Add("ID", ftInteger);
    gifts->CreateTable();
  }

  std::vector<std::string> ArchiveRows(const std::string& name) {
    auto archive = Database("d_archive", archive_file_);
    auto table = std::make_unique<TVTRTable>(nullptr);
    table->SetDatabaseName("d_archive");
    table->SetTableName(name);
    table->SetIndexName("ByID");
    table->Open();
    return Rows(*table, donate_fields_);
  }

  const std::string archive_file_ = CreateFile("archive.vtr");
};

TEST_F(Copies, AnExistingTargetIsNamedByItsOwnNameLoggedRaisedOrOverwritten) {
  auto donations = Table();
  const std::string exists = "Table '" + archive_file_ + ".Gifts' already exists";
  EXPECT_FALSE(donations->CopyTable("Gifts", log_, continue_, archive_file_, "", true, false, true, 0, 100));
  EXPECT_EQ(log_, exists + "\r\n");
  EXPECT_ENGINE_ERROR(donations->CopyTable("Gifts", log_, continue_, archive_file_, "", false, false, true, 0, 100),
                      30448, exists);
  EXPECT_FALSE(donations->Active());

  log_.clear();
  EXPECT_TRUE(donations->CopyTable("Gifts", log_, continue_, archive_file_, "", false, true, true, 0, 100));
  EXPECT_EQ(log_, "");
  EXPECT_EQ(ArchiveRows("Gifts"), all_donations_);
}

TEST_F(Copies, ACopyOntoItselfIsRefusedAndTheTableKeepsEveryRow) {
  auto scratch = Table("Scratch");
  scratch->SetInMemory(true);
  scratch->FieldDefs().Add("ID", ftInteger);
  scratch->CreateTable();
  scratch->Open();
  scratch->Append();
  scratch->FieldByName("ID")->SetAsInteger(7);
  scratch->Post();
  scratch->Close();
  struct Case {
    const char* what;
    TVTRTable* table;
    std::string file_name;
    std::string message;
  };
  auto donations = Table();
  const Case cases[] = {
      {"its own database", donations.get(), "", "Cannot copy table '" + file_ + ".Donate' into it self"},
      {"its own file by name", donations.get(), file_, "Cannot copy table '" + file_ + ".Donate' into it self"},
      {"an in-memory table into MEMORY", scratch.get(), "MEMORY", "Cannot copy table '.Scratch' into it self"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = c.table->TableName();
    EXPECT_ENGINE_ERROR(c.table->CopyTable(name, log_, continue_, c.file_name, "", false, true, true, 0, 100), 30447,
                        c.message);
    log_.clear();
    EXPECT_FALSE(c.table->CopyTable(name, log_, continue_, c.file_name, "", true, true, true, 0, 100));
    EXPECT_EQ(log_, c.message + "\r\n");
  }
  EXPECT_EQ(RowsOf("Donate", donate_fields_), all_donations_);
  scratch->Open();
  EXPECT_EQ(Rows(*scratch, {"ID"}), (std::vector<std::string>{"7"}));
}

TEST_F(Copies, ACopyCarriesRecordsAndIndexesInItsSliceAndLeavesTheTableAsFound) {
  auto donations = Table("Donate", "ByID");
  donations->Open();
  donations->MoveBy(2);
  EventTrace trace;
  Trace(donations->BeforeCopy, donations->OnCopyProgress, donations->AfterCopy, trace);
  EXPECT_TRUE(donations->CopyTable("Copied", log_, continue_, archive_file_, "", false, false, true, 10, 20));
  EXPECT_EQ(log_, "");
  EXPECT_EQ(ArchiveRows("Copied"), all_donations_);
  EXPECT_EQ(trace.before, 1);
  EXPECT_EQ(trace.after, 1);
  EXPECT_EQ(trace.percents, (std::vector<int32_t>{12, 15, 18, 20}));
  EXPECT_TRUE(donations->Active());
  EXPECT_EQ(donations->FieldByName("ID")->AsInteger(), 3);

  donations->Close();
  EXPECT_TRUE(donations->CopyTable("Unindexed", log_, continue_, "", "", false, false, false, 0, 100));
  EXPECT_FALSE(donations->Active());
  auto unindexed = Table("Unindexed");
  unindexed->IndexDefs().Update();
  EXPECT_EQ(unindexed->IndexDefs().Count(), 0);
  unindexed->Open();
  EXPECT_EQ(unindexed->RecordCount(), 4);
}

TEST_F(Copies, ACopyIntoMemoryTellsTheWaitWindowUnlessTheDatabaseIsSilent) {
  auto donations = Table("Donate", "ByID");
  WaitWindow().StartWait("Wait...");
  WaitWindow().StopWait();
  EXPECT_TRUE(donations->CopyTable("InMemory", log_, continue_, "MEMORY", "", false, false, true, 0, 100));
  EXPECT_EQ(WaitWindow().Message(), "Copy Table...");
  EXPECT_TRUE(WaitWindow().Finished);
  auto in_memory = Table("InMemory", "ByID");
  in_memory->SetInMemory(true);
  in_memory->Open();
  EXPECT_EQ(Rows(*in_memory, donate_fields_), all_donations_);
  in_memory->Close();

  WaitWindow().StartWait("Wait...");
  WaitWindow().StopWait();
  database_->SilentMode = true;
  EXPECT_TRUE(donations->CopyTable("InMemory", log_, continue_, "MEMORY", "", false, true, true, 0, 100));
  EXPECT_EQ(WaitWindow().Message(), "Wait...");
}

// ---- Restructure.

class Restructures : public TableCopies {
 protected:
  // The Donate table component, its restructure definitions as read at open.
  std::unique_ptr<TVTRTable> Opened() {
    auto table = Table();
    table->Open();
    table->Close();
    return table;
  }

  std::vector<std::string> FieldNames(const std::string& name) {
    auto table = Table(name);
    table->Open();
    std::vector<std::string> names;
    for (TField* field : table->Fields()) names.push_back(field->FieldName());
    return names;
  }
};

TEST_F(Restructures, ARenamedFieldKeepsItsValuesADroppedOneAloneIsLostAndAnAddedOneHasItsDefault) {
  auto table = Opened();
  TVTRAdvFieldDefs& target = table->RestructureAdvFieldDefs();
  target.Find("Donor")->Name = "Giver";
  target.Delete("Amount");
  TVTRAdvFieldDef& note = target.AddFieldDef();
  note.Name = "Note";
  note.DataType = adtString;
  note.Size = 10;
  note.DefaultValue.SetAsString("none");
  for (int32_t i = 0; i < table->RestructureAdvIndexDefs().GetCount(); ++i) {
    TVTRAdvIndexDef& index = table->RestructureAdvIndexDefs().GetItem(i);
    if (index.Fields == "Donor") index.Fields = "Giver";
  }
  EXPECT_TRUE(table->RestructureTable(log_)) << log_;
  EXPECT_EQ(log_, "");
  EXPECT_EQ(table->TableName(), "Donate");
  EXPECT_FALSE(table->Active());
  EXPECT_EQ(FieldNames("Donate"), (std::vector<std::string>{"ID", "Giver", "Note"}));
  EXPECT_EQ(RowsOf("Donate", {"ID", "Giver", "Note"}),
            (std::vector<std::string>{"1:Chai:none", "2:Bua:none", "3:Anan:none", "4:Anan:none"}));
  EXPECT_EQ(RowsOf("Donate", {"ID", "Giver"}, "ByDonor").front(), "3:Anan");
  EXPECT_EQ(TableNames(*database_), (std::vector<std::string>{"Donate"}));
}

TEST_F(Restructures, AbortInTheWaitWindowLeavesTheTableWithItsNameStructureAndData) {
  auto table = Opened();
  table->RestructureAdvFieldDefs().Delete("Amount");
  ui_.OnProcessMessages = [] { WaitWindow().btnCancelClick(); };
  EXPECT_FALSE(table->RestructureTable(log_));
  EXPECT_EQ(log_, "Terminated by User.\r\n");
  EXPECT_EQ(WaitWindow().Message(), "Restructure Table...");
  EXPECT_EQ(table->TableName(), "Donate");
  EXPECT_EQ(FieldNames("Donate"), donate_fields_);
  EXPECT_EQ(RowsOf("Donate", donate_fields_), all_donations_);
  EXPECT_EQ(TableNames(*database_), (std::vector<std::string>{"Donate"}));
}

TEST_F(Restructures, AValueThatCannotBeConvertedStopsItAndPutsTheOldTableBack) {
  auto table = Opened();
  TVTRAdvFieldDef& donor = *table->RestructureAdvFieldDefs().Find("Donor");
  donor.DataType = adtInteger;
  donor.Size = 0;
  table->RestructureAdvIndexDefs().Clear();
  EXPECT_ANY_THROW(table->RestructureTable(log_));
  EXPECT_EQ(log_.rfind("Error copying table. Record #1, field 'Donor' was copied with Null value due to error: ", 0),
            0u)
      << log_;
  EXPECT_EQ(table->TableName(), "Donate");
  EXPECT_EQ(FieldNames("Donate"), donate_fields_);
  EXPECT_EQ(RowsOf("Donate", donate_fields_), all_donations_);
  EXPECT_EQ(TableNames(*database_), (std::vector<std::string>{"Donate"}));
}

TEST_F(Restructures, InsideATransactionItIsRefusedWith20180AndTheTableStaysAsItWas) {
  auto table = Opened();
  table->RestructureAdvFieldDefs().Delete("Amount");
  database_->Open();
  database_->StartTransaction();
  EXPECT_ENGINE_ERROR(table->RestructureTable(log_), 20180,
                      "Cannot perform 'RestructureTable' operation on a database in transaction");
  database_->Rollback();
  EXPECT_EQ(table->TableName(), "Donate");
  EXPECT_EQ(FieldNames("Donate"), donate_fields_);
  EXPECT_EQ(RowsOf("Donate", donate_fields_), all_donations_);
  EXPECT_EQ(TableNames(*database_), (std::vector<std::string>{"Donate"}));
}

}  // namespace
