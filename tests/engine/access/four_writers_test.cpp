#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/storage/VTRDiskEngine.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/index/RecordIndex.h"
#include "tests/engine/access/DonateTable.h"
#include "tests/engine/storage/HelperProcess.h"
#include "tests/support/ScratchFolder.h"

namespace {

constexpr int kWriters = 4;
constexpr int kRecordsEach = 1000;

TEST(FourWriters, InsertIntoOneTableWithoutLosingARecordOrLeavingALock) {
  ScratchFolder folder;
  const std::string name = folder.File("dat_temple.vtr");
  CreateDonateDatabase(name);
  std::vector<std::unique_ptr<HelperProcess>> writers;
  for (int i = 0; i < kWriters; ++i) {
    writers.push_back(std::make_unique<HelperProcess>(VTR_ACCESS_HELPER, std::vector<std::string>{name}));
    ASSERT_EQ(writers.back()->Answer(), "ready");
  }
  for (int i = 0; i < kWriters; ++i)
    writers[i]->Send("fill " + std::to_string(i * kRecordsEach) + " " + std::to_string(kRecordsEach));
  for (auto& writer : writers) EXPECT_EQ(writer->Answer(), "0");

  // The writers are idle but alive, so a lock they left would still be held.
  auto session = DonateSession(name);
  session->SetConnected(true);
  {
    DonateCursor donations(*session);
    EXPECT_EQ(donations.Cursor().GetRecordCount(), kWriters * kRecordsEach);
    TVTRTableData& table = *donations.Cursor().TableData;
    for (int32_t i = 0; i < table.IndexManager->IndexDefs.GetCount(); ++i) {
      const int32_t id = table.IndexManager->IndexDefs.GetIndexDef(i).ObjectID;
      auto& index = dynamic_cast<TVTRBTreeRecordIndex&>(table.IndexManager->GetIndexByID(id));
      EXPECT_NO_THROW(index.CheckIntegrity(session->SessionID)) << i;
    }
    donations.Cursor().SetIndexName("ByID");
    const std::vector<Donation> all = donations.All();
    ASSERT_EQ(all.size(), static_cast<size_t>(kWriters * kRecordsEach));
    for (int32_t id = 0; id < kWriters * kRecordsEach; ++id) ASSERT_EQ(all[id].id, id);
  }
  auto& database = static_cast<TVTRDiskDatabaseData&>(*session->DatabaseData);
  TVTRTableLocksFile area(*database.DiskPageManager());
  area.OpenFile(database.FindTableEntry("Donate").LocksStart);
  // Type 0 stays while the writers have the table open.
  for (int type = tltRead; type <= tltRecord; ++type)
    EXPECT_FALSE(area.IsTypeLockedByOthers(session->SessionID, static_cast<TVTRTableLockType>(type))) << type;
  EXPECT_FALSE(database.DiskPageManager()->IsPageByteLocked(area.StartPage(), 0)) << "the area's own byte";
  for (auto& writer : writers) writer->Wait();
}

}  // namespace
