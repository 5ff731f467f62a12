// Compaction and repair of whole database files through the database
// component: the data and the file's settings come through, the original is
// replaced only by a complete copy, and it is left byte for byte as it was
// whenever the operation is refused, stopped or fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/access/LocalCursor.h"
#include "engine/access/WaitWindow.h"
#include "engine/storage/disk/DiskDatabaseData.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/index/RecordIndex.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/records/DiskRecordManager.h"
#include "tests/engine/access/TableFixture.h"
#include "tests/engine/storage/HelperProcess.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

constexpr std::streamoff kStateOffset = 42;

std::string FileBytes(const std::string& file_name) {
  std::ifstream file(file_name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint8_t StateByte(const std::string& file_name) {
  return static_cast<uint8_t>(FileBytes(file_name).at(kStateOffset));
}

class Maintenance : public TableTest {
 protected:
  // A database component on `file_name` of a window of its own.
  std::unique_ptr<TVTRDatabase> OtherDatabase(const std::string& alias, const std::string& file_name,
                                              const std::string& password = {}) {
    auto database = Database(alias, file_name, &other_form_);
    database->Password = password;
    return database;
  }

  // A table of `owner`'s database `alias`.
  static std::unique_ptr<TVTRTable> TableOf(TComponent& owner, const std::string& alias,
                                            const std::string& name = "Donate",
                                            const std::string& index_name = {}) {
    auto table = std::make_unique<TVTRTable>(&owner);
    table->SetDatabaseName(alias);
    table->SetTableName(name);
    table->SetIndexName(index_name);
    return table;
  }

  // Donations with IDs 1 to `count` through an open table.
  static void Fill(TVTRTable& table, int32_t count) {
    table.Open();
    for (int32_t id = 1; id <= count; ++id) Add(table, {{id, "Donor" + std::to_string(id % 7), id * 1.5}});
  }

  // The IDs of a table in the order of `index_name`; each index of the
  // table passes its integrity check.
  static std::vector<int32_t> CheckedIds(TVTRTable& table, const std::string& index_name) {
    table.Close();
    table.SetIndexName(index_name);
    table.Open();
    auto& cursor = dynamic_cast<TVTRLocalCursor&>(*table.Handle());
    TVTRBaseIndexManager& indexes = *cursor.TableData->IndexManager;
    for (int32_t i = 0; i < indexes.IndexDefs.GetCount(); ++i) {
      auto& index = dynamic_cast<TVTRBTreeRecordIndex&>(indexes.GetIndexByID(indexes.IndexDefs.GetIndexDef(i).ObjectID));
      EXPECT_NO_THROW(index.CheckIntegrity(cursor.Session->SessionID)) << indexes.IndexDefs.GetIndexDef(i).Name;
    }
    table.First();
    std::vector<int32_t> ids = IdsFromHere(table);
    table.Close();
    return ids;
  }

  static std::vector<int32_t> Range(int32_t from, int32_t to) {
    std::vector<int32_t> ids;
    for (int32_t id = from; id <= to; ++id) ids.push_back(id);
    return ids;
  }

  bool Exists(const std::string& file_name) const { return std::filesystem::exists(file_name); }

  TComponent other_form_{nullptr};
};

TEST_F(Maintenance, CompactionShrinksTheFileToItsLiveRowsWithWholeIndexesAndKeepsItsCipher) {
  for (const std::string password : {"", "sesame"}) {
    SCOPED_TRACE(password.empty() ? "plain" : "encrypted");
    const std::string file_name = CreateFile(password.empty() ? "plain.vtr" : "locked.vtr", password);
    auto database = OtherDatabase("d_compact", file_name, password);
    auto table = TableOf(other_form_, "d_compact", "Donate", "ByID");
    Fill(*table, 1000);
    for (table->First(); !table->Eof();) {
      if (table->FieldByName("ID")->AsInteger() > 100)
        table->Delete();
      else
        table->Next();
    }
    table->Close();
    const auto size_before = std::filesystem::file_size(file_name);

    EXPECT_TRUE(database->CompactDatabase());
    EXPECT_LT(std::filesystem::file_size(file_name), size_before);
    EXPECT_FALSE(Exists(file_name + ".tmp"));
    EXPECT_EQ(CheckedIds(*table, "ByID"), Range(1, 100));
    EXPECT_EQ(CheckedIds(*table, "ByDonor").size(), 100u);
    database->Open();
    EXPECT_EQ(database->CipherAlgorithm, password.empty() ? 0 : 1);
    database->Close();
    if (!password.empty()) {
      auto wrong = DonateSession(file_name);
      wrong->Password = {"wrong", 1};
      EXPECT_ENGINE_ERROR(wrong->SetConnected(true), 30445, "Cannot open database because incorrect password");
    }
  }
}

TEST_F(Maintenance, AbortInTheWaitWindowEndsACompactionWith30456AndLeavesTheOriginalAsItWas) {
  auto table = Table();
  Fill(*table, 50);
  table->Close();
  const std::string before = FileBytes(file_);
  ui_.OnProcessMessages = [] { WaitWindow().btnCancelClick(); };
  EXPECT_ENGINE_ERROR(database_->CompactDatabase(), 30456,
                      "Operation CompactDatabase failed: Terminated by User.");
  EXPECT_EQ(WaitWindow().Message(), "Compacting Database...");
  EXPECT_TRUE(WaitWindow().Finished);
  EXPECT_EQ(FileBytes(file_), before);
  EXPECT_FALSE(Exists(file_ + ".tmp"));
}

// Another connection may write to the file at any moment; a replacement
// under it would send its later commits to a deleted file.
TEST_F(Maintenance, NeitherCompactionNorRepairReplacesAFileAnotherConnectionHasOpen) {
  auto table = Table();
  Fill(*table, 5);
  table->Close();
  const std::string in_use = "Cannot perform '%s' operation: database file '" + file_ + "' is open by another connection";
  const auto refused = [&](const std::string& operation) {
    std::string text = in_use;
    return text.replace(text.find("%s"), 2, operation);
  };
  std::string error_text;
  {
    SCOPED_TRACE("a second database component of this process");
    auto other = OtherDatabase("d_other", file_);
    auto other_table = TableOf(other_form_, "d_other");
    other_table->Open();
    const std::string before = FileBytes(file_);
    EXPECT_ENGINE_ERROR(database_->CompactDatabase(), 20239, refused("CompactDatabase"));
    EXPECT_ENGINE_ERROR(database_->RepairDatabase(error_text), 20239, refused("RepairDatabase"));
    EXPECT_EQ(FileBytes(file_), before);
    EXPECT_FALSE(Exists(file_ + ".tmp"));
    Add(*other_table, {{6, "Later", 6}});
    other_table->Close();
    EXPECT_EQ(CheckedIds(*other_table, "ByID"), Range(1, 6));
  }
  {
    SCOPED_TRACE("a second process");
    HelperProcess other(VTR_TABLE_HELPER, {file_});
    ASSERT_EQ(other.Answer(), "ready");
    const std::string before = FileBytes(file_);
    EXPECT_ENGINE_ERROR(database_->CompactDatabase(), 20239, refused("CompactDatabase"));
    EXPECT_ENGINE_ERROR(database_->RepairDatabase(error_text), 20239, refused("RepairDatabase"));
    EXPECT_EQ(FileBytes(file_), before);
    EXPECT_FALSE(Exists(file_ + ".tmp"));
    other.Send("insert 7 Later 7");
    EXPECT_EQ(other.Answer(), "0");
    other.Send("amount 7");
    EXPECT_EQ(other.Answer(), "7");
  }
  EXPECT_EQ(CheckedIds(*table, "ByID"), Range(1, 7));
}

TEST_F(Maintenance, AFileNotClosedCleanlyIsRepairedAtOpenUnlessAnotherProcessHasItOpen) {
  auto table = Table();
  Fill(*table, 30);
  table->Close();
  const uint8_t unclean = 1;
  PatchFile(file_, kStateOffset, &unclean, 1);
  database_->OnNeedRepair = [](TObject*, bool& do_repair) { do_repair = true; };
  {
    HelperProcess other(VTR_TABLE_HELPER, {file_});
    ASSERT_EQ(other.Answer(), "ready");
    const std::string before = FileBytes(file_);
    EXPECT_ENGINE_ERROR(database_->Open(), 20238, "Cannot convert database to the new format.");
    EXPECT_FALSE(database_->Connected());
    EXPECT_EQ(FileBytes(file_), before);
    EXPECT_FALSE(Exists(file_ + ".tmp"));
  }
  database_->Open();
  EXPECT_TRUE(database_->Connected());
  EXPECT_TRUE(ui_.Transcript().empty()) << "nothing was left out, so nothing to tell";
  EXPECT_EQ(StateByte(file_), 2);
  EXPECT_EQ(CheckedIds(*table, "ByID"), Range(1, 30));
  EXPECT_FALSE(Exists(file_ + ".bak"));
}

TEST_F(Maintenance, DeletingADatabaseIsRefusedWhileItIsOpenAndAFailureIsReported) {
  auto other = OtherDatabase("d_other", file_);
  other->Open();
  EXPECT_ENGINE_ERROR(database_->DeleteDatabase(), 20239,
                      "Cannot perform 'DeleteDatabase' operation: database file '" + file_ +
                          "' is open by another connection");
  other->Close();
  EXPECT_TRUE(Exists(file_));
  database_->DeleteDatabase();
  EXPECT_FALSE(Exists(file_));
  EXPECT_ANY_THROW(database_->DeleteDatabase());
}

}  // namespace
