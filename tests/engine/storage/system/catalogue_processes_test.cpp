#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/StringList.h"
#include "tests/engine/storage/HelperProcess.h"
#include "tests/engine/storage/StorageFixtures.h"
#include "tests/engine/storage/system/Catalogue.h"

namespace {

class CatalogueProcesses : public ::testing::Test {
 protected:
  void CreateWithSlots(int32_t slot_count) {
    TVTRDiskPageManager creator;
    creator.CreateDatabase(name_, TVTRPassword{}, 4096, 8);
    CreateCatalogue(creator, slot_count);
  }

  ScratchFolder folder_;
  std::string name_ = folder_.File("shared.vtr");
  ScopedRetryCaps caps_{{200, 5}};  // a lock left behind fails fast
};

TEST_F(CatalogueProcesses, SlotsStayWithTheirProcessUntilItDies) {
  CreateWithSlots(500);
  HelperProcess other({name_, "connect", "2"});
  ASSERT_EQ(other.Answer(), "slots 0 1");
  auto manager = OpenDatabaseFile(name_, true);
  Catalogue catalogue(*manager);
  const int32_t slot_file = catalogue.directory.FindEntry(sdkActiveSessions);
  EXPECT_TRUE(manager->IsPageByteLocked(slot_file, 50));
  EXPECT_TRUE(manager->IsPageByteLocked(slot_file, 51));
  EXPECT_FALSE(manager->IsPageByteLocked(slot_file, 52));

  other.Send("reopen");
  ASSERT_EQ(other.Answer(), "reopened");
  EXPECT_TRUE(manager->IsPageRegionLocked(slot_file, 50, 1)) << "closing a second descriptor dropped slot 0";
  EXPECT_TRUE(manager->IsPageRegionLocked(slot_file, 51, 1)) << "closing a second descriptor dropped slot 1";

  other.Kill();
  EXPECT_FALSE(manager->IsPageRegionLocked(slot_file, 50, 2));
  EXPECT_EQ(catalogue.sessions.Connect(), 0);
}

TEST_F(CatalogueProcesses, AFullSlotFileRefusesAConnectionAndFreesUpAtOnce) {
  CreateWithSlots(2);
  HelperProcess first({name_, "connect", "1"});
  ASSERT_EQ(first.Answer(), "slots 0");
  auto manager = OpenDatabaseFile(name_, true);
  Catalogue catalogue(*manager);
  ASSERT_EQ(catalogue.sessions.Connect(), 1);
  try {
    catalogue.sessions.Connect();
    FAIL() << "a third connection to two slots";
  } catch (const EVTRException& e) {
    EXPECT_EQ(
        e.Message(),
        "Cannot connect session. Maximum connections quantity exceeded or database is open in single-user "
        "mode - Native error: 20094");
  }
  // The refusal gave the slot file's lock back: another process is refused
  // for the same reason, not kept waiting for the lock.
  HelperProcess refused({name_, "connect", "1"});
  EXPECT_EQ(refused.Answer(), "error 20094");

  catalogue.sessions.Disconnect(1);
  HelperProcess second({name_, "connect", "1"});
  EXPECT_EQ(second.Answer(), "slots 1");
}

TEST_F(CatalogueProcesses, TablesListedByAnotherProcessAreKeptAndSeen) {
  CreateWithSlots(500);
  auto manager = OpenDatabaseFile(name_, true);
  Catalogue catalogue(*manager);

  HelperProcess first({name_, "create-table", "THEIRS"});
  ASSERT_EQ(first.Answer(), "created");
  AddTableEntry(*manager, catalogue.tables, "MINE");
  HelperProcess second({name_, "create-table", "LATER"});
  ASSERT_EQ(second.Answer(), "created");
  EXPECT_TRUE(catalogue.tables.TableExists("later"));

  auto reopened = OpenDatabaseFile(name_);
  Catalogue again(*reopened);
  TStringList names;
  again.tables.GetTableNames(names);
  ASSERT_EQ(names.Count(), 3);
  EXPECT_EQ(names[0], "THEIRS");
  EXPECT_EQ(names[1], "MINE");
  EXPECT_EQ(names[2], "LATER");
}

}  // namespace
