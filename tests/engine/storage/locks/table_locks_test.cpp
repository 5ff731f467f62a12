#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/storage/pager/ByteOrder.h"
#include "tests/engine/storage/StorageFixtures.h"

namespace {

// The components' slot count: a lock area of 6000 bytes over two pages.
constexpr int32_t kSlots = 500;
constexpr int32_t kPageSize = 4096;

std::string Created(const std::string& name) {
  CreateDatabaseFile(name, kPageSize);
  return name;
}

int32_t CreateArea(TVTRDiskPageManager& manager) {
  TVTRTableLocksFile created(manager);
  const int32_t start = created.CreateFile(kSlots);
  manager.Commit(kSystemSessionID);
  return start;
}

class TableLocks : public ::testing::Test {
 protected:
  TableLocks() { area_.OpenFile(CreateArea(*manager_)); }

  bool AreaByteLocked() { return manager_->IsPageByteLocked(area_.StartPage(), 0); }
  // Whether any slot but `except` holds a byte of the type in the area.
  bool TypeHeld(TVTRTableLockType type, int32_t except = kSlots - 1) {
    return area_.IsTypeLockedByOthers(except, type);
  }
  void ExpectAreaFree() {
    locks_.CheckAllReleased();
    EXPECT_FALSE(AreaByteLocked());
    for (int type = 0; type < 6; ++type) EXPECT_FALSE(TypeHeld(static_cast<TVTRTableLockType>(type))) << type;
  }

  ScratchFolder folder_;
  std::string name_ = Created(folder_.File("locks.vtr"));
  std::unique_ptr<TVTRDiskPageManager> manager_ = OpenDatabaseFile(name_, true);
  TVTRTableLocksFile area_{*manager_};
  TVTRDatabaseTableLockManager locks_{*manager_, kSlots};
  ScopedRetryCaps caps_{{3, 1}};
};

// Rows: the type slot 0 holds; columns: the type slot 1 asks for.
constexpr std::array<const char*, 7> kGranted = {
    "1111110",  //
    "1111010",  //
    "1111110",  // a type-3 request ignores others' type 2
    "1100010",  //
    "1010010",  //
    "1111110",  //
    "0000000",  //
};

TEST_F(TableLocks, TwoSlotsShareATableAsTheLockTypesAllow) {
  for (int held = 0; held < kTableLockTypeCount; ++held) {
    for (int requested = 0; requested < kTableLockTypeCount; ++requested) {
      SCOPED_TRACE(testing::Message() << "held " << held << ", requested " << requested);
      const auto held_type = static_cast<TVTRTableLockType>(held);
      const auto requested_type = static_cast<TVTRTableLockType>(requested);
      ASSERT_TRUE(locks_.LockTable(area_, 0, held_type, 1, 0));
      EXPECT_EQ(locks_.LockTable(area_, 1, requested_type, 1, 0), kGranted[held][requested] == '1');
      EXPECT_TRUE(locks_.UnlockTable(area_, 1, requested_type, true, true));
      EXPECT_TRUE(locks_.UnlockTable(area_, 0, held_type, true, false));
      ExpectAreaFree();
    }
  }
}

TEST_F(TableLocks, TheExclusiveLockCoversEveryOtherLockWithoutTouchingTheArea) {
  const TVTRRecordID record{9, 1};
  ASSERT_TRUE(locks_.LockTable(area_, 0, tltExclusive, 1, 0));
  EXPECT_TRUE(AreaByteLocked());
  for (int type = 0; type < 5; ++type)
    EXPECT_TRUE(locks_.LockTable(area_, 0, static_cast<TVTRTableLockType>(type), 1, 0));
  EXPECT_TRUE(locks_.LockRecord(area_, 0, record, 1, 0));
  for (const TableLockEntry& entry : locks_.LocksOf(0).Entries())
    EXPECT_EQ(entry.InFile, entry.Type == tltExclusive);
  for (int type = 0; type < 6; ++type) EXPECT_FALSE(TypeHeld(static_cast<TVTRTableLockType>(type))) << type;
  EXPECT_FALSE(locks_.LockTable(area_, 1, tltOpen, 1, 0));

  EXPECT_TRUE(locks_.UnlockRecord(area_, 0, record));
  for (int type = 0; type < 5; ++type)
    EXPECT_TRUE(locks_.UnlockTable(area_, 0, static_cast<TVTRTableLockType>(type), false, false));
  EXPECT_TRUE(locks_.UnlockTable(area_, 0, tltExclusive, false, false));
  ExpectAreaFree();
}

TEST_F(TableLocks, ALockTakenTwiceIsCountedExceptTheEditLock) {
  ASSERT_TRUE(locks_.LockTable(area_, 0, tltOpen, 1, 0));
  ASSERT_TRUE(locks_.LockTable(area_, 0, tltOpen, 1, 0));
  EXPECT_TRUE(locks_.UnlockTable(area_, 0, tltOpen, false, false));
  EXPECT_TRUE(TypeHeld(tltOpen));
  EXPECT_TRUE(locks_.UnlockTable(area_, 0, tltOpen, false, false));
  EXPECT_FALSE(TypeHeld(tltOpen));

  ASSERT_TRUE(locks_.LockTable(area_, 0, tltEdit, 1, 0));
  EXPECT_FALSE(locks_.LockTable(area_, 0, tltEdit, 1, 0));
  EXPECT_TRUE(locks_.UnlockTable(area_, 0, tltEdit, false, false));

  EXPECT_EQ(NativeErrorOf([&] { locks_.UnlockTable(area_, 0, tltWrite, false, false); }), 20202);
  EXPECT_TRUE(locks_.UnlockTable(area_, 0, tltWrite, false, true));
  EXPECT_EQ(NativeErrorOf([&] { locks_.LockTable(area_, kSlots, tltOpen, 1, 0); }), 20200);
  ExpectAreaFree();
}

TEST_F(TableLocks, ARecordIsLockedByOneSlotAndItsRecordIDStoredForTheOthers) {
  const TVTRRecordID first{7, 3};
  const TVTRRecordID second{7, 4};
  ASSERT_TRUE(locks_.LockRecord(area_, 0, first, 15, 100));
  EXPECT_FALSE(locks_.LockRecord(area_, 0, second, 15, 100)) << "a slot locks one record per table";
  EXPECT_FALSE(locks_.LockRecord(area_, 1, first, 15, 100));
  EXPECT_TRUE(locks_.LockRecord(area_, 200, second, 15, 100));

  // Slot s keeps its RecordID at content position 6 × 500 + 6 × s.
  const std::vector<uint8_t> bytes = FileBytes(name_);
  const int64_t first_page = 380 + int64_t{area_.StartPage()} * kPageSize;
  const int64_t second_page =
      380 + int64_t{NextPageOf(&bytes.at(static_cast<size_t>(first_page)))} * kPageSize;
  const uint8_t* slot0 = &bytes.at(static_cast<size_t>(first_page + 40 + 3010));
  const uint8_t* slot200 = &bytes.at(static_cast<size_t>(second_page + 40 + 4210 - 4056));
  EXPECT_EQ(LoadI32(slot0), 7);
  EXPECT_EQ(LoadU16(slot0 + 4), 3);
  EXPECT_EQ(LoadI32(slot200), 7);
  EXPECT_EQ(LoadU16(slot200 + 4), 4);

  EXPECT_TRUE(locks_.UnlockRecord(area_, 0, first));
  EXPECT_FALSE(locks_.UnlockRecord(area_, 0, first));
  EXPECT_TRUE(locks_.LockRecord(area_, 1, first, 15, 100));
  EXPECT_TRUE(locks_.UnlockRecord(area_, 1, first));
  EXPECT_TRUE(locks_.UnlockRecord(area_, 200, second));
  ExpectAreaFree();
}

TEST_F(TableLocks, AnErrorInsideTheAreaGivesTheAreaBack) {
  TVTRDatabaseTableLockManager wider(*manager_, kSlots + 1);
  EXPECT_EQ(NativeErrorOf([&] { wider.LockTable(area_, kSlots, tltOpen, 1, 0); }), 20200);
  EXPECT_EQ(NativeErrorOf([&] { wider.LockRecord(area_, kSlots, TVTRRecordID{1, 1}, 1, 0); }), 20200);
  EXPECT_FALSE(AreaByteLocked());

  // Locks given up behind the manager's back.
  ASSERT_TRUE(locks_.LockTable(area_, 0, tltOpen, 1, 0));
  ASSERT_TRUE(locks_.LockRecord(area_, 0, TVTRRecordID{1, 1}, 1, 0));
  ASSERT_TRUE(area_.UnlockType(0, tltOpen));
  ASSERT_TRUE(area_.UnlockRecord(0));
  EXPECT_EQ(NativeErrorOf([&] { locks_.UnlockTable(area_, 0, tltOpen, false, false); }), 20204);
  EXPECT_EQ(NativeErrorOf([&] { locks_.UnlockRecord(area_, 0, TVTRRecordID{1, 1}); }), 20206);
  EXPECT_FALSE(AreaByteLocked());
  EXPECT_TRUE(locks_.LockTable(area_, 1, tltExclusive, 1, 0));
  EXPECT_TRUE(locks_.UnlockTable(area_, 1, tltExclusive, false, false));
}

TEST_F(TableLocks, AnExclusiveHolderGivesBackItsEarlierLocksAtOnce) {
  const TVTRRecordID record{5, 5};
  ASSERT_TRUE(locks_.LockTable(area_, 0, tltTransactionWrite, 1, 0));
  ASSERT_TRUE(locks_.LockRecord(area_, 0, record, 1, 0));
  ASSERT_TRUE(locks_.LockTable(area_, 0, tltExclusive, 1, 0));
  EXPECT_TRUE(locks_.UnlockRecord(area_, 0, record));
  EXPECT_TRUE(locks_.UnlockTable(area_, 0, tltTransactionWrite, false, false));
  EXPECT_FALSE(TypeHeld(tltTransactionWrite));
  EXPECT_FALSE(TypeHeld(tltRecord));
  EXPECT_TRUE(locks_.UnlockTable(area_, 0, tltExclusive, false, false));
  ExpectAreaFree();
}

TEST_F(TableLocks, ACommitRaisesTransactionLocksToWriteLocksOrGivesThemUp) {
  EXPECT_TRUE(locks_.LockTablesForCommit(0));
  ASSERT_TRUE(locks_.LockTable(area_, 0, tltTransactionWrite, 1, 0));
  ASSERT_TRUE(locks_.LockTable(area_, 1, tltRead, 1, 0));
  EXPECT_FALSE(locks_.LockTablesForCommit(0));
  EXPECT_FALSE(locks_.LocksOf(0).HasLock(tltWrite, area_.StartPage()));
  EXPECT_FALSE(TypeHeld(tltWrite));

  ASSERT_TRUE(locks_.UnlockTable(area_, 1, tltRead, false, false));
  EXPECT_TRUE(locks_.LockTablesForCommit(0));
  EXPECT_TRUE(TypeHeld(tltWrite));
  EXPECT_TRUE(locks_.ReleaseTransactionLocks(0));
  ExpectAreaFree();
}

TEST_F(TableLocks, ARecordLockedOverACommitKeepsAnEditLockOnItsTable) {
  const int32_t key = area_.StartPage();
  const TVTRRecordID record{3, 0};
  ASSERT_TRUE(locks_.LockTable(area_, 0, tltTransactionWrite, 1, 0));
  ASSERT_TRUE(locks_.LockRecord(area_, 0, record, 1, 0));
  ASSERT_TRUE(locks_.LockTablesForCommit(0));
  EXPECT_TRUE(locks_.ReleaseTransactionLocks(0));
  EXPECT_TRUE(locks_.LocksOf(0).HasLock(tltEdit, key));
  EXPECT_FALSE(locks_.LocksOf(0).HasLock(tltTransactionWrite, key));
  EXPECT_TRUE(TypeHeld(tltRecord));
  EXPECT_FALSE(TypeHeld(tltTransactionWrite));
  EXPECT_FALSE(TypeHeld(tltWrite));
  EXPECT_TRUE(locks_.UnlockRecord(area_, 0, record));
  EXPECT_TRUE(locks_.UnlockTable(area_, 0, tltEdit, false, false));

  // Under an exclusive lock that already covers the edit.
  ASSERT_TRUE(locks_.LockTable(area_, 0, tltExclusive, 1, 0));
  ASSERT_TRUE(locks_.LockTable(area_, 0, tltEdit, 1, 0));
  ASSERT_TRUE(locks_.LockRecord(area_, 0, record, 1, 0));
  ASSERT_TRUE(locks_.LockTable(area_, 0, tltTransactionWrite, 1, 0));
  EXPECT_TRUE(locks_.ReleaseTransactionLocks(0));
  EXPECT_FALSE(locks_.LocksOf(0).HasLock(tltTransactionWrite, key));
  EXPECT_TRUE(locks_.UnlockRecord(area_, 0, record));
  EXPECT_TRUE(locks_.UnlockTable(area_, 0, tltEdit, false, false));
  EXPECT_TRUE(locks_.UnlockTable(area_, 0, tltExclusive, false, false));
  ExpectAreaFree();
}

TEST(TableLocksExclusive, ADatabaseOpenedExclusiveTakesNoTableLocks) {
  ScratchFolder folder;
  const std::string name = Created(folder.File("alone.vtr"));
  TVTRDiskPageManager manager;
  bool multi_user = true;
  bool needs_repair = false;
  bool read_only = false;
  manager.OpenDatabase(name, TVTRPassword{}, multi_user, true, needs_repair, read_only);
  TVTRDatabaseTableLockManager locks(manager, 2);
  TVTRTableLocksFile never_opened(manager);
  EXPECT_TRUE(locks.LockTable(never_opened, 0, tltExclusive, 1, 0));
  EXPECT_TRUE(locks.UnlockTable(never_opened, 0, tltOpen, false, false));
  EXPECT_TRUE(locks.LocksOf(0).Empty());
}

TEST(TableLocksFileClosed, EveryOperationNamesItsPlace) {
  ScratchFolder folder;
  auto manager = OpenDatabaseFile(Created(folder.File("closed.vtr")));
  TVTRTableLocksFile area(*manager);
  const TVTRRecordID record{1, 1};
  EXPECT_EQ(NativeErrorOf([&] { area.LockType(0, tltOpen); }), 10483);
  EXPECT_EQ(NativeErrorOf([&] { area.UnlockType(0, tltOpen); }), 10489);
  EXPECT_EQ(NativeErrorOf([&] { area.CanLock(0, tltOpen); }), 10490);
  EXPECT_EQ(NativeErrorOf([&] { area.LockRecord(0, record); }), 10491);
  EXPECT_EQ(NativeErrorOf([&] { area.UnlockRecord(0); }), 10492);
  EXPECT_EQ(NativeErrorOf([&] { area.IsRecordLockedByOthers(0, record); }), 10493);
  EXPECT_EQ(NativeErrorOf([&] { area.LockFile(); }), 10494);
}

TEST(TableLockList, CoverageAndCountsFollowTheLockTypes) {
  const struct {
    TVTRTableLockType held;
    TVTRTableLockType requested;
    bool covers;
  } cases[] = {{tltExclusive, tltOpen, true},
               {tltExclusive, tltRecord, true},
               {tltWrite, tltRead, true},
               {tltRead, tltWrite, false},
               {tltTransactionWrite, tltEdit, true},
               {tltEdit, tltTransactionWrite, false},
               {tltOpen, tltRecord, true},
               {tltOpen, tltRead, false},
               {tltRead, tltExclusive, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(TVTRTableLockList::Covers(c.held, c.requested), c.covers)
        << int{c.held} << " " << int{c.requested};
  }

  TVTRTableLockList list;
  list.AddLock(tltOpen, 4, true);
  list.AddLock(tltOpen, 4, false);
  EXPECT_FALSE(list.RemoveLock(tltOpen, 4, false)) << "one use is left";
  EXPECT_EQ(NativeErrorOf([&] { list.CheckEmpty(); }), 20201);
  EXPECT_TRUE(list.RemoveLock(tltOpen, 4, false));
  list.AddLock(tltRead, 4, true);
  list.AddLock(tltRead, 4, true);
  EXPECT_TRUE(list.RemoveLock(tltRead, 4, true));
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(NativeErrorOf([&] { list.RemoveLock(tltRead, 4, false); }), 20202);
}

}  // namespace
