#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/pager/FreeSpaceManager.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/records/DiskRecordManager.h"
#include "engine/storage/records/SmallRecordPage.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace {

constexpr int32_t kSession = 0;
constexpr int32_t kTableID = 77;

// A table of one integer field "ID" and a filler that makes the stored
// record `disk_record_size` bytes, in a 4096-byte-page database file.
class DiskRecords : public ::testing::Test {
 protected:
  void SetUp() override { Open(100); }

  void Open(int32_t disk_record_size) {
    records_.reset();
    pages_.reset();
    const std::string file = folder_.File("records.vtr");
    std::filesystem::remove(file);
    TVTRDiskPageManager().CreateDatabase(file, TVTRPassword{}, 4096, 8);
    pages_ = std::make_unique<TVTRDiskPageManager>();
    bool multi_user = false;
    bool needs_repair = false;
    bool read_only = false;
    pages_->OpenDatabase(file, TVTRPassword{}, multi_user, false, needs_repair, read_only);
    TVTRFieldDefs defs;
    TVTRFieldDef& id = defs.AddFieldDef();
    id.Name = "ID";
    id.SetDataType(adtInteger, 0);
    TVTRFieldDef& filler = defs.AddFieldDef();
    filler.Name = "FILL";
    filler.SetDataType(adtBytes, disk_record_size - 5);
    fields_.DefineFields(defs);
    ASSERT_EQ(fields_.FieldDefs.GetDiskRecordSize(), disk_record_size);
    records_ = std::make_unique<TVTRDiskRecordManager>(*pages_, fields_, kTableID);
    records_->InitStorage(fields_.FieldDefs.GetRecordBufferSize(), disk_record_size);
    records_->CreateStorage();
    pages_->Commit(kSystemSessionID);
    record_.assign(fields_.FieldDefs.GetRecordBufferSize(), 0);
  }

  TVTRRecordID Insert(int32_t value) {
    record_[0] = 0;  // both fields set
    StoreI32(record_.data() + fields_.FieldDefs.GetFieldDef(0).MemoryOffset, value);
    TVTRRecordID id;
    EXPECT_TRUE(records_->InsertRecord(kSession, record_.data(), id));
    return id;
  }

  // The request after the move, and the ID read into the record buffer.
  NavigationRequest Move(TVTRFetchMode direction, TVTRRecordID from, bool bof = false, bool eof = false) {
    NavigationRequest request;
    request.Direction = direction;
    request.RecordID = from;
    request.Bof = bof;
    request.Eof = eof;
    request.Buffer = record_.data();
    records_->GetRecord(kSession, request);
    return request;
  }
  int32_t ValueRead() const {
    return LoadI32(record_.data() + fields_.FieldDefs.GetFieldDef(0).MemoryOffset);
  }

  // Every record in storage order, walking with next from before the first.
  std::vector<TVTRRecordID> StorageOrder() {
    std::vector<TVTRRecordID> ids;
    for (NavigationRequest r = Move(fmNext, {}, true); r.Result == grOK; r = Move(fmNext, r.RecordID))
      ids.push_back(r.RecordID);
    return ids;
  }

  std::vector<uint8_t> PageData(int32_t page_no) {
    HeldPage page(pages_->GetPage(kSession, page_no, ptTableRecord));
    return {page->Data(), page->Data() + page->DataSize()};
  }

  ScratchFolder folder_;
  std::unique_ptr<TVTRDiskPageManager> pages_;
  TVTRBaseFieldManager fields_{nullptr};
  std::unique_ptr<TVTRDiskRecordManager> records_;
  std::vector<uint8_t> record_;
};

TEST_F(DiskRecords, SlotsPerPageFollowTheStoredRecordSize) {
  struct Case {
    int32_t disk_record_size;
    int32_t slots;
  };
  for (const Case c : {Case{100, 40}, Case{4054, 1}, Case{6, 662}}) {
    SCOPED_TRACE(c.disk_record_size);
    Open(c.disk_record_size);
    EXPECT_EQ(records_->RecordsPerPage, c.slots);
  }
  // One byte of record: the tightest fit, 451 bitmap bytes and 3604 slots.
  TVTRDiskRecordManager one_byte(*pages_, fields_, kTableID);
  one_byte.InitStorage(1, 1);
  EXPECT_EQ(one_byte.RecordsPerPage, 3604);
  EXPECT_ENGINE_ERROR(one_byte.InitStorage(4055, 4055), 20174,
                      "Cannot create table. Record is too large to fit in current database page. Please "
                      "increase page size of database file or decrease record size");
}

TEST_F(DiskRecords, FortyOneRecordsFillTwoPagesAndAnEmptiedPageIsFreed) {
  std::vector<TVTRRecordID> ids;
  for (int32_t i = 0; i < 41; ++i) ids.push_back(Insert(i));
  const int32_t first_page = ids[0].PageNo;
  const int32_t second_page = ids[40].PageNo;
  ASSERT_NE(first_page, second_page);
  for (int32_t i = 0; i < 40; ++i) EXPECT_EQ(ids[i], (TVTRRecordID{first_page, static_cast<uint16_t>(i)}));
  EXPECT_EQ(ids[40].SlotNo, 0);
  EXPECT_EQ(records_->RecordCount, 41);
  EXPECT_EQ(records_->ChangeCount, 41);

  const std::vector<uint8_t> data = PageData(first_page);
  EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.begin() + 5), std::vector<uint8_t>(5, 0xFF));
  {
    HeldPage page(pages_->GetPage(kSession, first_page, ptTableRecord));
    EXPECT_EQ(PageOwnerOf(page->Buffer()), kTableID);
  }

  for (int32_t i = 0; i < 40; ++i) EXPECT_TRUE(records_->DeleteRecord(kSession, ids[i]));
  EXPECT_EQ(records_->RecordCount, 1);
  int32_t lowest;
  ASSERT_TRUE(records_->RecordPageIndex.FirstPage(kSession, lowest));
  EXPECT_EQ(lowest, second_page);
  pages_->Commit(kSession);
  HeldPage reused(pages_->AddPage(kSession, ptTableRecord));
  EXPECT_EQ(reused->PageNo(), first_page);
}

TEST_F(DiskRecords, FreedSlotsAreReusedLowestFirst) {
  std::vector<TVTRRecordID> ids;
  for (int32_t i = 0; i < 5; ++i) ids.push_back(Insert(i));
  ASSERT_TRUE(records_->DeleteRecord(kSession, ids[1]));
  ASSERT_TRUE(records_->DeleteRecord(kSession, ids[0]));
  EXPECT_EQ(Insert(10), ids[0]);
  EXPECT_EQ(Insert(11), ids[1]);
  EXPECT_EQ(Insert(12).SlotNo, 5);
}

TEST_F(DiskRecords, ChangesOfAFreeSlotAreRefusedWithoutCounting) {
  const TVTRRecordID freed = Insert(1);
  Insert(2);  // keeps the page alive once the first record is gone
  ASSERT_TRUE(records_->DeleteRecord(kSession, freed));
  EXPECT_FALSE(records_->DeleteRecord(kSession, freed));
  EXPECT_FALSE(records_->UpdateRecord(kSession, record_.data(), freed));
  EXPECT_EQ(Move(fmCurrent, freed).Result, grError);
  EXPECT_EQ(records_->RecordCount, 1);
  EXPECT_EQ(records_->ChangeCount, 3);
}

TEST_F(DiskRecords, UpdateOverwritesTheRecordInPlace) {
  const TVTRRecordID id = Insert(1);
  StoreI32(record_.data() + fields_.FieldDefs.GetFieldDef(0).MemoryOffset, 99);
  ASSERT_TRUE(records_->UpdateRecord(kSession, record_.data(), id));
  EXPECT_EQ(records_->ChangeCount, 2);
  EXPECT_EQ(records_->RecordCount, 1);
  ASSERT_EQ(Move(fmCurrent, id).Result, grOK);
  EXPECT_EQ(ValueRead(), 99);
}

TEST_F(DiskRecords, MovesStopAtBothEnds) {
  EXPECT_EQ(Move(fmNext, {}, true).Result, grEOF);  // an empty table answers "after the last" to everything
  EXPECT_EQ(Move(fmPrior, {}, false, true).Result, grEOF);
  EXPECT_EQ(Move(fmCurrent, {3, 0}).Result, grEOF);

  std::vector<TVTRRecordID> ids;
  for (int32_t i = 0; i < 45; ++i) ids.push_back(Insert(i));
  NavigationRequest first = Move(fmNext, {}, true);
  ASSERT_EQ(first.Result, grOK);
  EXPECT_EQ(first.RecordID, ids.front());
  EXPECT_FALSE(first.Bof);
  EXPECT_EQ(Move(fmPrior, ids.front()).Result, grBOF);
  EXPECT_EQ(Move(fmPrior, {}, true).Result, grBOF);
  EXPECT_EQ(Move(fmCurrent, {}, true).Result, grError);

  NavigationRequest last = Move(fmPrior, {}, false, true);
  ASSERT_EQ(last.Result, grOK);
  EXPECT_EQ(last.RecordID, ids.back());
  EXPECT_EQ(ValueRead(), 44);
  EXPECT_EQ(Move(fmNext, ids.back()).Result, grEOF);
  EXPECT_EQ(Move(fmNext, {}, false, true).Result, grEOF);

  // Across the page boundary, both ways.
  NavigationRequest across = Move(fmNext, ids[39]);
  EXPECT_EQ(across.RecordID, ids[40]);
  EXPECT_EQ(ValueRead(), 40);
  EXPECT_EQ(Move(fmPrior, ids[40]).RecordID, ids[39]);
}

TEST_F(DiskRecords, APageOfAnotherTableOrKindIsNotRead) {
  const TVTRRecordID id = Insert(1);
  {
    HeldPage page(pages_->GetPage(kSession, id.PageNo, ptTableRecord));
    SetPageOwnerOf(page->Buffer(), kTableID + 1);
    page->SetDirty(true);
  }
  EXPECT_EQ(Move(fmCurrent, id).Result, grError);
  EXPECT_EQ(Move(fmNext, {}, true).Result, grError);
  EXPECT_FALSE(records_->UpdateRecord(kSession, record_.data(), id));
  EXPECT_FALSE(records_->DeleteRecord(kSession, id));

  HeldPage index_page(pages_->AddPage(kSession, ptTableIndex));
  const int32_t other = index_page->PageNo();
  index_page.Release();
  EXPECT_EQ(Move(fmCurrent, {other, 0}).Result, grError);
  EXPECT_EQ(Move(fmNext, {other, 0}).Result, grError);
}

// A record page that the record-page map lost (a kill in the middle of a
// map leaf's split) is reached in repair mode only, after the listed pages
// and in page order both ways; freed pages and record pages of another
// table are not.
TEST_F(DiskRecords, InRepairModeAWalkAlsoVisitsTheRecordPagesTheMapLost) {
  std::vector<TVTRRecordID> ids;
  for (int32_t value = 0; value < 200; ++value) ids.push_back(Insert(value));
  std::vector<int32_t> pages;
  for (const TVTRRecordID& id : ids)
    if (pages.empty() || pages.back() != id.PageNo) pages.push_back(id.PageNo);
  ASSERT_EQ(pages.size(), 5u);
  const auto forget = [&](int32_t page_no) {
    for (int i = 0; i < records_->RecordsPerPage; ++i) records_->RecordPageIndex.RemoveRecord(kSession, page_no);
  };
  forget(pages[1]);
  forget(pages[3]);
  forget(pages[4]);
  pages_->DeletePage(kSession, pages[4]);  // lost and freed: nothing to rescue
  TVTRDiskRecordManager other_table(*pages_, fields_, kTableID + 1);
  other_table.InitStorage(fields_.FieldDefs.GetRecordBufferSize(), 100);
  other_table.CreateStorage();
  pages_->Commit(kSystemSessionID);
  TVTRRecordID other_id;
  ASSERT_TRUE(other_table.InsertRecord(kSession, record_.data(), other_id));
  other_table.RecordPageIndex.RemoveRecord(kSession, other_id.PageNo);
  pages_->Commit(kSession);

  const auto values = [this](const std::vector<TVTRRecordID>& walked) {
    std::vector<int32_t> read;
    for (const TVTRRecordID& id : walked) {
      EXPECT_EQ(Move(fmCurrent, id).Result, grOK);
      read.push_back(ValueRead());
    }
    return read;
  };
  const auto expected = [](std::initializer_list<std::pair<int32_t, int32_t>> runs) {
    std::vector<int32_t> all;
    for (const auto& [from, to] : runs)
      for (int32_t value = from; value < to; ++value) all.push_back(value);
    return all;
  };
  EXPECT_TRUE(records_->UnlistedPages(kSession).empty()) << "outside repair mode";
  EXPECT_EQ(values(StorageOrder()), expected({{0, 40}, {80, 120}}));

  // A record manager of the table made in repair mode, as a repair opens it.
  pages_->FreeSpaceManager().SetRepairMode(true);
  const int32_t root = records_->RecordPageIndex.Root();
  const int64_t count = records_->RecordCount;
  records_ = std::make_unique<TVTRDiskRecordManager>(*pages_, fields_, kTableID);
  records_->InitStorage(fields_.FieldDefs.GetRecordBufferSize(), 100);
  records_->RecordPageIndex.SetRoot(root);
  records_->RecordCount = count;
  EXPECT_EQ(records_->UnlistedPages(kSession), (std::vector<int32_t>{pages[1], pages[3]}));
  const std::vector<int32_t> forward = values(StorageOrder());
  EXPECT_EQ(forward, expected({{0, 40}, {80, 120}, {40, 80}, {120, 160}}));
  std::vector<TVTRRecordID> backward;
  for (NavigationRequest r = Move(fmPrior, {}, false, true); r.Result == grOK; r = Move(fmPrior, r.RecordID))
    backward.push_back(r.RecordID);
  std::vector<int32_t> reversed = values(backward);
  std::reverse(reversed.begin(), reversed.end());
  EXPECT_EQ(reversed, forward);
}

TEST_F(DiskRecords, RecordNumbersFollowStorageOrderThroughRandomChanges) {
  std::mt19937 random(11);
  std::vector<TVTRRecordID> live;
  for (int round = 0; round < 400; ++round) {
    if (live.empty() || random() % 3 != 0) {
      live.push_back(Insert(round));
    } else {
      const size_t victim = random() % live.size();
      ASSERT_TRUE(records_->DeleteRecord(kSession, live[victim]));
      live.erase(live.begin() + static_cast<std::ptrdiff_t>(victim));
    }
  }
  std::sort(live.begin(), live.end(), [&](const TVTRRecordID& a, const TVTRRecordID& b) {
    return records_->CompareRecordIDs(a, b) < 0;
  });
  ASSERT_EQ(StorageOrder(), live);
  ASSERT_EQ(records_->RecordCount, static_cast<int64_t>(live.size()));
  for (size_t i = 0; i < live.size(); ++i) {
    EXPECT_EQ(records_->GetRecNo(kSession, live[i]), static_cast<int64_t>(i + 1));
    EXPECT_EQ(records_->GetRecordIDByRecNo(kSession, static_cast<int64_t>(i + 1)), live[i]);
  }
  EXPECT_ENGINE_ERROR(records_->GetRecordIDByRecNo(kSession, static_cast<int64_t>(live.size()) + 1), 20113,
                      "Cannot set RecNo greater than RecordCount");
}

TEST_F(DiskRecords, EmptyingDeletesEveryPageAndKeepsTheMap) {
  for (int32_t i = 0; i < 90; ++i) Insert(i);
  records_->EmptyTable(kSession);
  EXPECT_EQ(records_->RecordCount, 0);
  EXPECT_EQ(records_->ChangeCount, 0);
  EXPECT_EQ(records_->GetLastPageNo(kSession), -1);
  const TVTRRecordID again = Insert(1);
  EXPECT_EQ(again, (TVTRRecordID{records_->GetLastPageNo(kSession), 0}));
  EXPECT_EQ(records_->RecordCount, 1);
}

TEST_F(DiskRecords, CountersAndMetadataImages) {
  records_->RecordCount = 0x1'0000'0005;  // only the low 32 bits are kept
  records_->ChangeCount = -7;
  std::vector<uint8_t> buffer(3 + kRecordCountersSize);
  int32_t offset = 3;
  records_->SaveCounters(buffer, offset);
  EXPECT_EQ(offset, 3 + kRecordCountersSize);
  EXPECT_EQ(buffer, (std::vector<uint8_t>{0, 0, 0, 0xF9, 0xFF, 0xFF, 0xFF, 5, 0, 0, 0}));
  buffer[10] = 0x80;  // a negative low part reads back sign-extended
  offset = 3;
  records_->LoadCounters(buffer, offset);
  EXPECT_EQ(records_->ChangeCount, -7);
  EXPECT_EQ(records_->RecordCount, static_cast<int32_t>(0x80000005));
  offset = 4;
  EXPECT_ENGINE_ERROR(records_->LoadCounters(buffer, offset), 20164, "Invalid table header data");
  EXPECT_ENGINE_ERROR(records_->SaveCounters(buffer, offset), 20164, "Invalid table header data");

  const Bytes image = ImageOf([&](TStream& s) { records_->SaveMetadata(s); });
  ASSERT_EQ(image.size(), static_cast<size_t>(kRecordManagerMetadataSize));
  EXPECT_EQ(LoadI32(image.data()), records_->RecordPageIndex.Root());
  TVTRMemoryStream stream;
  FillStream(stream, {0x2A, 0, 0, 0});
  records_->LoadMetadata(stream);
  EXPECT_EQ(records_->RecordPageIndex.Root(), 42);
}

TEST_F(DiskRecords, APageViewRefusesSlotsPastItsDataArea) {
  HeldPage page(pages_->AddPage(kSession, ptTableRecord));
  EXPECT_ENGINE_ERROR(TVTRSmallRecordPage(*page, 41, 100), 20140, "Invalid number of records on page");
  TVTRSmallRecordPage view(*page, 37, 100);
  EXPECT_ENGINE_ERROR(view.First(), 20143, "Record not found");
  EXPECT_ENGINE_ERROR(view.Last(), 20144, "Record not found");
  EXPECT_ENGINE_ERROR(view.GetRecordIDByIndex(0), 20146, "Record not found");
  // Slots 32 to 36, and three bits past the last slot as a damaged page may
  // hold them, which count for nothing.
  page->Data()[4] = 0xFF;
  EXPECT_EQ(view.GetRecordCount(), 5);
  EXPECT_EQ(view.Last().SlotNo, 36);
  EXPECT_EQ(view.GetRecordIDByIndex(4).SlotNo, 36);
  EXPECT_ENGINE_ERROR(view.GetRecordIDByIndex(5), 20146, "Record not found");
  TVTRRecordID beyond{page->PageNo(), 45};
  EXPECT_FALSE(view.ReadRecord(beyond, nullptr));
  EXPECT_FALSE(view.Next(beyond));
  ASSERT_TRUE(view.Prior(beyond));
  EXPECT_EQ(beyond.SlotNo, 36);
  EXPECT_EQ(view.CountBefore(beyond), 4);
  std::memset(page->Data(), 0xFF, 4);
  int32_t slot;
  EXPECT_FALSE(view.FindFreeSlot(slot));
  EXPECT_ENGINE_ERROR(view.AddRecord(record_.data()), 20141, "Cannot add record to page. Page is full");
}

}  // namespace
