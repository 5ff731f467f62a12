#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/storage/VTRDiskEngine.h"
#include "tests/engine/storage/StorageFixtures.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/engine/storage/common/TestSession.h"

namespace {

constexpr int32_t kSlots = 4;

struct Settings {
  int32_t page_size = 4096;
  int32_t pages_per_extent = 8;
  TVTRPassword password;
};

void CreateFile(const std::string& name, const Settings& settings = {}) {
  TVTRDiskDatabaseData database(name);
  database.MaxConnections = kSlots;
  database.PageSize = settings.page_size;
  database.PagesPerExtent = settings.pages_per_extent;
  database.Password = settings.password;
  database.CreateDatabase();
  EXPECT_FALSE(database.IsOpen());
}

TestSession& Connect(TVTRDatabaseData& database, TestSession& session, bool multi_user,
                     bool exclusive = false) {
  session.SessionID = kInvalidSessionID;
  session.MultiUser = multi_user;
  session.Exclusive = exclusive;
  database.ConnectSession(session);
  return session;
}

// Two database objects on one file behave as two processes do: their
// descriptors hold byte locks against each other.
class DiskDatabase : public ::testing::Test {
 protected:
  DiskDatabase() { CreateFile(name_); }

  ScratchFolder folder_;
  std::string name_ = folder_.File("temple.vtr");
  TVTRDiskDatabaseData database_{name_};
};

TEST_F(DiskDatabase, OpensWithTheFirstSessionAndClosesWithTheLast) {
  TestSession first;
  TestSession second;
  Connect(database_, first, true);
  Connect(database_, second, true);
  EXPECT_TRUE(database_.IsOpen());
  EXPECT_EQ(database_.MaxConnections, kSlots);
  EXPECT_EQ(database_.PageSize, 4096);
  EXPECT_EQ(database_.PagesPerExtent, 8);
  EXPECT_NE(first.SessionID, second.SessionID);
  EXPECT_FALSE(first.NeedsRepair);
  database_.DisconnectSession(first);
  EXPECT_EQ(first.SessionID, kInvalidSessionID);
  EXPECT_TRUE(database_.IsOpen());
  database_.DisconnectSession(second);
  EXPECT_FALSE(database_.IsOpen());
  EXPECT_EQ(database_.PageManager, nullptr);
}

TEST_F(DiskDatabase, AFreedSlotGoesToTheNextSessionAndTooManySessionsAreRefused) {
  std::array<TestSession, kSlots> sessions;
  for (TestSession& session : sessions) Connect(database_, session, true);
  TestSession extra;
  EXPECT_EQ(NativeErrorOf([&] { Connect(database_, extra, true); }), 20094);
  const int32_t freed = sessions[2].SessionID;
  database_.DisconnectSession(sessions[2]);
  EXPECT_EQ(Connect(database_, extra, true).SessionID, freed);
}

TEST_F(DiskDatabase, SessionsOfBothModesDoNotMix) {
  for (const bool first_multi_user : {true, false}) {
    TestSession first;
    TestSession other;
    Connect(database_, first, first_multi_user);
    EXPECT_EQ(NativeErrorOf([&] { Connect(database_, other, !first_multi_user); }), 20235);
    EXPECT_EQ(database_.Sessions.size(), 1u);
    database_.DisconnectSession(first);
  }
}

TEST_F(DiskDatabase, ASessionThatCannotConnectLeavesTheFileClosed) {
  TVTRDiskDatabaseData encrypted(folder_.File("secret.vtr"));
  Settings settings;
  settings.password = {"sesame", 1};
  CreateFile(encrypted.DatabaseFileName, settings);
  encrypted.Password = {"wrong", 1};
  TestSession session;
  EXPECT_EQ(NativeErrorOf([&] { Connect(encrypted, session, true); }), 30445);
  EXPECT_FALSE(encrypted.IsOpen());
  EXPECT_TRUE(encrypted.Sessions.empty());
  encrypted.Password = {"sesame", 0};
  Connect(encrypted, session, true);
  EXPECT_EQ(encrypted.GetPassword().Algorithm, 1) << "the algorithm comes from the file";
  encrypted.DisconnectSession(session);
}

TEST_F(DiskDatabase, SingleUserSessionsShareTheSlotsAndGiveThemBackWithTheLast) {
  TestSession first;
  TestSession second;
  EXPECT_EQ(Connect(database_, first, false).SessionID, 0);
  EXPECT_EQ(Connect(database_, second, false).SessionID, 0);
  EXPECT_TRUE(database_.AllSlotsLocked);
  EXPECT_FALSE(database_.ReadOnly);

  TVTRDiskDatabaseData other(name_);
  TestSession multi;
  EXPECT_EQ(NativeErrorOf([&] { Connect(other, multi, true); }), 20094) << "single-user holds every slot";
  database_.DisconnectSession(first);
  EXPECT_EQ(NativeErrorOf([&] { Connect(other, multi, true); }), 20094);
  database_.DisconnectSession(second);
  Connect(other, multi, true);

  TestSession late;
  Connect(database_, late, false);
  EXPECT_TRUE(database_.ReadOnly) << "another user holds a slot: single-user use is read-only";
  EXPECT_FALSE(database_.AllSlotsLocked);
  database_.DisconnectSession(late);
  other.DisconnectSession(multi);
}

TEST_F(DiskDatabase, AnExclusiveOpenKeepsEveryoneElseOut) {
  TestSession owner;
  Connect(database_, owner, true, true);
  EXPECT_FALSE(owner.MultiUser) << "an exclusive open is single-user";
  TVTRDiskDatabaseData other(name_);
  TestSession refused;
  EXPECT_EQ(NativeErrorOf([&] { Connect(other, refused, true); }), 30364);
  EXPECT_FALSE(other.IsOpen());
  database_.DisconnectSession(owner);
  Connect(other, refused, true);
  other.DisconnectSession(refused);
}

TEST_F(DiskDatabase, ALeavingSessionTakesItsUncommittedPagesAlongWhileOthersStay) {
  TestSession stays;
  TestSession leaves;
  Connect(database_, stays, true);
  Connect(database_, leaves, true);
  const int32_t slot = leaves.SessionID;
  TVTRPageManager& pages = *database_.PageManager;
  const int32_t committed = AddCommittedPage(pages, stays.SessionID, 1);
  for (const bool in_transaction : {true, false}) {
    leaves.InTransaction = in_transaction;
    ChangePage(pages, slot, committed, 2);
    pages.ReleasePage(pages.AddPage(slot, ptTableRecord));
    database_.DisconnectSession(leaves);
    EXPECT_FALSE(pages.HasSessionChanges(slot)) << in_transaction;
    EXPECT_FALSE(leaves.InTransaction);

    TestSession next;
    EXPECT_EQ(Connect(database_, next, true).SessionID, slot);
    database_.Commit(slot, false);
    EXPECT_EQ(PageContent(pages, stays.SessionID, committed), 1) << "the next session committed the change";
    database_.DisconnectSession(next);
    Connect(database_, leaves, true);
  }
  database_.DisconnectSession(leaves);
  database_.DisconnectSession(stays);
}

// A table lock area with the session's type 3 lock on it, as a change inside
// a transaction leaves it.
class DiskDatabaseCommit : public DiskDatabase {
 protected:
  DiskDatabaseCommit() {
    Connect(database_, writer_, true);
    Connect(database_, reader_, true);
    TVTRTableLocksFile created(*database_.DiskPageManager());
    const int32_t start = created.CreateFile(kSlots);
    database_.Commit(kSystemSessionID, false);
    area_ = std::make_unique<TVTRTableLocksFile>(*database_.DiskPageManager());
    area_->OpenFile(start);
    page_no_ = AddCommittedPage(*database_.PageManager, writer_.SessionID, 1);
    EXPECT_TRUE(Locks().LockTable(*area_, writer_.SessionID, tltTransactionWrite, 1, 0));
    ChangePage(*database_.PageManager, writer_.SessionID, page_no_, 2);
  }
  ~DiskDatabaseCommit() override {
    database_.DisconnectSession(reader_);
    database_.DisconnectSession(writer_);
  }

  TVTRDatabaseTableLockManager& Locks() { return *database_.TableLockManager; }
  uint8_t OnDisk() {
    TVTRDiskDatabaseData look(name_);
    TestSession session;
    Connect(look, session, true);
    const uint8_t content = PageContent(*look.PageManager, session.SessionID, page_no_);
    look.DisconnectSession(session);
    return content;
  }

  TestSession writer_;
  TestSession reader_;
  std::unique_ptr<TVTRTableLocksFile> area_;
  int32_t page_no_ = -1;
};

TEST_F(DiskDatabaseCommit, RaisesTheTableLocksAndGivesThemBackAfterwards) {
  database_.Commit(writer_.SessionID, true);
  EXPECT_EQ(OnDisk(), 2);
  EXPECT_TRUE(Locks().LocksOf(writer_.SessionID).Empty());
  EXPECT_FALSE(area_->IsTypeLockedByOthers(reader_.SessionID, tltTransactionWrite));
}

TEST_F(DiskDatabaseCommit, WritesNothingWhileAnotherSessionReadsTheTable) {
  ASSERT_TRUE(Locks().LockTable(*area_, reader_.SessionID, tltRead, 1, 0));
  {
    ScopedRetryCaps caps({2, 1});
    EXPECT_ENGINE_ERROR(database_.Commit(writer_.SessionID, false), 20233,
                        "Cannot commit changes. Locks of modified tables failed");
  }
  EXPECT_EQ(OnDisk(), 1);
  EXPECT_TRUE(Locks().LocksOf(writer_.SessionID).HasLock(tltTransactionWrite, area_->StartPage()));
  database_.Rollback(writer_.SessionID);
  EXPECT_TRUE(Locks().LocksOf(writer_.SessionID).Empty());
  EXPECT_FALSE(database_.PageManager->HasSessionChanges(writer_.SessionID));
  Locks().UnlockTable(*area_, reader_.SessionID, tltRead, false, false);
}

TEST_F(DiskDatabase, KeepsTheTableListEntries) {
  EXPECT_ENGINE_ERROR(database_.FindTableEntry("Donate"), 20129, "Pointer is nil");
  EXPECT_ENGINE_ERROR(database_.DeleteTableEntry("Donate"), 20130, "Pointer is nil");
  EXPECT_ENGINE_ERROR(database_.RenameTableEntry("Donate", "Gift"), 20131, "Pointer is nil");
  TestSession session;
  Connect(database_, session, true);
  database_.LockTableDirectory();
  database_.AddTableEntry(17, "Donate", 30, 31, 32);
  database_.AddTableEntry(18, "Goods", 40, 41, 42);
  database_.RenameTableEntry("DONATE", "Gift");
  database_.DeleteTableEntry("Goods");
  database_.Commit(kSystemSessionID, false);
  database_.UnlockTableDirectory();
  database_.DisconnectSession(session);

  Connect(database_, session, true);
  const TableListEntry entry = database_.FindTableEntry("gift");
  EXPECT_EQ(entry.TableID, 17);
  EXPECT_EQ(entry.LocksStart, 30);
  EXPECT_EQ(entry.MostUpdatedStart, 31);
  EXPECT_EQ(entry.MetadataStart, 32);
  EXPECT_TRUE(database_.TableExists("GIFT"));
  EXPECT_FALSE(database_.TableExists("Goods"));
  database_.DisconnectSession(session);
}

TEST_F(DiskDatabase, TheTableDirectoryLockKeepsOtherUsersWaitingWithinTheirBounds) {
  TestSession session;
  Connect(database_, session, true);
  TVTRDiskDatabaseData other(name_);
  TestSession other_session;
  Connect(other, other_session, true);
  database_.LockTableDirectory();
  {
    ScopedRetryCaps caps({2, 1});
    EXPECT_ENGINE_ERROR(other.LockTableDirectory(), 20210, "Database tables are locked");
  }
  database_.UnlockTableDirectory();
  other.LockTableDirectory();
  other.UnlockTableDirectory();
  EXPECT_ENGINE_ERROR(other.UnlockTableDirectory(), 20211, "Cannot unlock database tables");
  other.DisconnectSession(other_session);
  database_.DisconnectSession(session);
}

}  // namespace
