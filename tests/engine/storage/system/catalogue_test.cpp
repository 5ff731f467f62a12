#include "tests/engine/storage/system/Catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/StringList.h"
#include "tests/engine/storage/StorageFixtures.h"

namespace {

std::string CreatedWithCatalogue(const std::string& name, int32_t slot_count) {
  TVTRDiskPageManager creator;
  creator.CreateDatabase(name, TVTRPassword{}, 4096, 8);
  CreateCatalogue(creator, slot_count);
  return name;
}

// Lists a table as its creation does, saving after the change.
void AddTable(TVTRTableListFile& tables, const std::string& name, int32_t id) {
  tables.AddTable(name, id, id + 10, id + 20, id + 30);
  tables.Save();
}

std::vector<std::string> NamesOf(TVTRTableListFile& tables) {
  TStringList list;
  tables.GetTableNames(list);
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i) names.push_back(list[i]);
  return names;
}

class CatalogueTest : public ::testing::Test {
 protected:
  ScratchFolder folder_;
  std::string name_ = CreatedWithCatalogue(folder_.File("catalogue.vtr"), 500);
  ScopedRetryCaps caps_{{200, 5}};  // a lock left behind fails fast
};

TEST_F(CatalogueTest, ANewDatabaseHasItsDirectorySlotsAndTableListOnItsFirstPages) {
  auto manager = OpenDatabaseFile(name_);
  Catalogue catalogue(*manager);
  EXPECT_EQ(catalogue.directory.FindEntry(sdkActiveSessions), 3);
  EXPECT_EQ(catalogue.directory.FindEntry(sdkTableList), 4);
  EXPECT_EQ(catalogue.directory.FindEntry(9), -1);
  EXPECT_EQ(catalogue.sessions.SlotCount(), 500);
  EXPECT_TRUE(NamesOf(catalogue.tables).empty());
  EXPECT_EQ(NativeErrorOf([&] { catalogue.tables.OpenFile(4); }), 30393);
}

TEST_F(CatalogueTest, TableNamesAreFoundInAnyCaseAndKeptInListOrder) {
  auto manager = OpenDatabaseFile(name_);
  Catalogue catalogue(*manager);
  TVTRTableListFile& tables = catalogue.tables;
  AddTable(tables, "donate", 11);
  AddTable(tables, "Members", 12);
  AddTable(tables, std::string(300, 'x'), 13);
  manager->Commit(kSystemSessionID);

  auto reopened = OpenDatabaseFile(name_);
  Catalogue again(*reopened);
  const TableListEntry entry = again.tables.GetTable("DONATE");
  EXPECT_EQ(entry.Name, "donate");
  EXPECT_EQ(entry.TableID, 11);
  EXPECT_EQ(entry.MetadataStart, 21);
  EXPECT_EQ(entry.MostUpdatedStart, 31);
  EXPECT_EQ(entry.LocksStart, 41);
  EXPECT_TRUE(again.tables.TableExists(std::string(255, 'X')));
  EXPECT_EQ(NamesOf(again.tables), (std::vector<std::string>{"donate", "Members", std::string(255, 'x')}));

  again.tables.RenameTable("members", "MEMBERS");
  again.tables.Save();
  again.tables.DeleteTable("Donate");
  again.tables.Save();
  EXPECT_EQ(NamesOf(again.tables), (std::vector<std::string>{"MEMBERS", std::string(255, 'x')}));
}

TEST_F(CatalogueTest, TableListChangesRefuseMissingAndDuplicateNames) {
  auto manager = OpenDatabaseFile(name_);
  Catalogue catalogue(*manager);
  TVTRTableListFile& tables = catalogue.tables;
  AddTable(tables, "donate", 1);
  AddTable(tables, "members", 5);
  try {
    tables.AddTable("Donate", 9, 9, 9, 9);
    FAIL() << "a second table of one name";
  } catch (const EVTRException& e) {
    EXPECT_EQ(e.Message(), "Cannot create table. Table 'Donate' already exists - Native error: 30395");
  }
  EXPECT_EQ(NativeErrorOf([&] { tables.GetTable("nothing"); }), 30396);
  EXPECT_EQ(NativeErrorOf([&] { tables.DeleteTable("nothing"); }), 30405);
  EXPECT_EQ(NativeErrorOf([&] { tables.RenameTable("nothing", "other"); }), 30397);
  EXPECT_EQ(NativeErrorOf([&] { tables.RenameTable("members", "DONATE"); }), 30395);
  EXPECT_EQ(tables.GetTable("members").TableID, 5);
  manager->Rollback(kSystemSessionID);
}

TEST_F(CatalogueTest, SessionsTakeTheFirstFreeSlot) {
  auto manager = OpenDatabaseFile(name_, true);
  Catalogue catalogue(*manager);
  TVTRActiveSessionsFile& sessions = catalogue.sessions;
  EXPECT_EQ(sessions.Connect(), 0);
  EXPECT_EQ(sessions.Connect(), 1);
  sessions.Disconnect(0);
  EXPECT_EQ(sessions.Connect(), 0);
  EXPECT_EQ(sessions.Connect(), 2);
  sessions.Disconnect(1);
  EXPECT_EQ(NativeErrorOf([&] { sessions.Disconnect(1); }), 20095);
}

TEST_F(CatalogueTest, ASingleUserOpenHoldsEverySlotOnlyWhileNobodyIsConnected) {
  auto multi = OpenDatabaseFile(name_, true);
  Catalogue connected(*multi);
  auto single = OpenDatabaseFile(name_);
  Catalogue alone(*single);

  EXPECT_EQ(connected.sessions.Connect(), 0);
  EXPECT_FALSE(alone.sessions.LockAllSlots());
  connected.sessions.Disconnect(0);
  ASSERT_TRUE(alone.sessions.LockAllSlots());
  EXPECT_EQ(NativeErrorOf([&] { connected.sessions.Connect(); }), 20094);
  alone.sessions.UnlockAllSlots();
  EXPECT_EQ(connected.sessions.Connect(), 0);
}

TEST_F(CatalogueTest, ALockedSlotFileMakesEveryOperationGiveUpWithoutTouchingASlot) {
  auto manager = OpenDatabaseFile(name_, true);
  Catalogue catalogue(*manager);
  TVTRActiveSessionsFile& sessions = catalogue.sessions;
  ASSERT_EQ(sessions.Connect(), 0);
  auto holder = OpenDatabaseFile(name_, true);
  const int32_t slot_file = catalogue.directory.FindEntry(sdkActiveSessions);
  ASSERT_TRUE(holder->LockPageByte(slot_file, 0));

  ScopedRetryCaps caps({2, 1});
  EXPECT_EQ(NativeErrorOf([&] { sessions.Connect(); }), 20093);
  EXPECT_EQ(NativeErrorOf([&] { sessions.LockAllSlots(); }), 20240);
  EXPECT_EQ(NativeErrorOf([&] { sessions.Disconnect(0); }), 20096);
  EXPECT_EQ(NativeErrorOf([&] { sessions.UnlockAllSlots(); }), 20241);
  EXPECT_TRUE(holder->IsPageByteLocked(slot_file, 50)) << "slot 0 was given back";
  EXPECT_FALSE(holder->IsPageRegionLocked(slot_file, 51, 499)) << "a slot was taken";
  EXPECT_TRUE(holder->UnlockPageByte(slot_file, 0));
  EXPECT_EQ(sessions.Connect(), 1);
}

}  // namespace
