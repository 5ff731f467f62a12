#include <gtest/gtest.h>

#include <functional>

#include "engine/storage/pager/ByteOrder.h"
#include "tests/engine/storage/blob/BlobTestSupport.h"

namespace {

constexpr int32_t kDataSize = 4096 - 40;

class BlobPages : public ::testing::Test {
 protected:
  BlobPages() : manager_(pages_, table_.fields, table_.records) {
    manager_.BlobPageIndex.CreateTree(kBlobSession);
  }

  TVTRBlobReference Store(const Bytes& bytes) {
    return manager_.StoreBlobValue(kBlobSession, StoredValue(bytes));
  }
  Bytes Read(const TVTRBlobReference& reference) {
    CachedBlobValue value;
    manager_.ReadBlobValue(kBlobSession, value, reference);
    return BytesOf(value);
  }
  HeldPage Page(int32_t page_no) { return HeldPage(pages_.GetPage(kBlobSession, page_no, ptTableBlob)); }
  BlobPageListLocator LocatorOf(int32_t first_page) {
    HeldPage page = Page(first_page);
    return DecodeBlobPageListLocator(std::span<const uint8_t, kBlobPageListLocatorSize>(
        page->Data() + kBlobValueHeaderSize, kBlobPageListLocatorSize));
  }

  FailingPageManager pages_;
  BlobTable table_;
  TVTRDiskBlobManager manager_;
};

TEST_F(BlobPages, SmallValuesShareAPageAndADeletedEntryClosesItsGap) {
  const Bytes a = Noise(100, 1), b = Noise(200, 2), c = Noise(300, 3);
  const TVTRBlobReference ra = Store(a), rb = Store(b), rc = Store(c);
  EXPECT_EQ(ra.PageNo, rb.PageNo);
  EXPECT_EQ(rb.PageNo, rc.PageNo);
  EXPECT_EQ((std::vector<int16_t>{ra.BlobID, rb.BlobID, rc.BlobID}), (std::vector<int16_t>{0, 1, 2}));

  TVTRBlobReference deleted = rb;
  manager_.DeleteBlobValue(kBlobSession, deleted);
  EXPECT_EQ(deleted, kNoBlobValue);
  {
    HeldPage page = Page(ra.PageNo);
    TVTRSmallBlobPage shared(*page);
    EXPECT_EQ(shared.GetCount(), 2);
    EXPECT_EQ(shared.GetEntry(1), 2 + 22 + 100) << "the third entry moved down over the second";
  }
  EXPECT_EQ(Read(rc), c);
  EXPECT_EQ(Read(ra), a);
  EXPECT_EQ(NativeErrorOf([&] { Read(rb); }), 20162);

  const TVTRBlobReference rd = Store(Noise(10, 4));
  EXPECT_EQ(rd.PageNo, ra.PageNo);
  EXPECT_EQ(rd.BlobID, 3) << "the entry count, 2, is still taken";
}

TEST_F(BlobPages, TheLastEntryLeavingASharedPageFreesItAndItsMapEntry) {
  const int32_t live = pages_.LivePages();
  TVTRBlobReference a = Store(Noise(50, 1)), b = Store(Noise(60, 2));
  manager_.DeleteBlobValue(kBlobSession, a);
  manager_.DeleteBlobValue(kBlobSession, b);
  EXPECT_EQ(pages_.LivePages(), live);
  TVTRKeyPath path;
  EXPECT_FALSE(manager_.BlobPageIndex.First(kBlobSession, path));
}

TEST_F(BlobPages, ASharedPageRefusesWhatDoesNotFitAndIdsItDoesNotHold) {
  HeldPage page(pages_.AddPage(kBlobSession, ptTableBlob));
  TVTRSmallBlobPage shared(*page);
  // Leaves room for one more entry of exactly 10 bytes.
  shared.AddBlob(StoredValue(Noise(kDataSize - 2 - 22 - 32, 1)));
  EXPECT_ENGINE_ERROR(shared.AddBlob(StoredValue(Noise(11, 2))), 20173, "Cannot add blob. Page is full");
  shared.AddBlob(StoredValue(Noise(10, 3)));
  EXPECT_EQ(shared.GetCount(), 2);
  EXPECT_ENGINE_ERROR(shared.DeleteBlob({page->PageNo(), 7}), 20171, "Cannot find blob field");
  CachedBlobValue untouched = StoredValue(Noise(5, 4));
  EXPECT_FALSE(shared.ReadBlob(untouched, {page->PageNo(), 7}));
  EXPECT_EQ(BytesOf(untouched), Noise(5, 4));
}

TEST_F(BlobPages, ADamagedEntryLengthIsNeverFollowedOutOfThePage) {
  HeldPage page(pages_.AddPage(kBlobSession, ptTableBlob));
  TVTRSmallBlobPage shared(*page);
  const TVTRBlobReference first = shared.AddBlob(StoredValue(Noise(40, 1)));
  const TVTRBlobReference second = shared.AddBlob(StoredValue(Noise(40, 2)));
  StoreU64(page->Data() + 2 + 6, 1u << 20);  // the first entry's L
  CachedBlobValue value;
  EXPECT_FALSE(shared.ReadBlob(value, second));
  EXPECT_EQ(NativeErrorOf([&] { shared.DeleteBlob(second); }), 20171);
  EXPECT_EQ(NativeErrorOf([&] { shared.AddBlob(StoredValue(Noise(4, 3))); }), 20173);
  EXPECT_EQ(NativeErrorOf([&] { shared.GetEntry(1); }), 20171);
  EXPECT_FALSE(shared.ReadBlob(value, first));
}

TEST_F(BlobPages, NewIdsStartAtTheEntryCountAndWrapAfter65534) {
  HeldPage page(pages_.AddPage(kBlobSession, ptTableBlob));
  TVTRSmallBlobPage shared(*page);
  shared.AddBlob(StoredValue(Noise(8, 1)));
  StoreU16(page->Data() + 2, kMaxSharedBlobID);  // the entry's id
  // The count claims more entries than the page holds; the walk stops at the first that does not fit.
  std::memset(page->Data() + 2 + 22 + 8, 0xFF, kDataSize - 32);
  shared.SetCount(kMaxSharedBlobID);
  EXPECT_EQ(shared.NewBlobID(), 0) << "the candidate 65534 is taken";
  shared.SetCount(65535);
  EXPECT_ENGINE_ERROR(shared.NewBlobID(), 20172, "Invalid blob field ID");
}

struct PlacementCase {
  const char* name;
  int64_t stored_size;
  bool shared;
  std::vector<int32_t> bytes_per_data_page;
  int32_t list_offset;  // where the page list starts on its first page
  bool list_on_new_page;
  int32_t pages;  // data pages and list pages
};

void PrintTo(const PlacementCase& c, std::ostream* os) {
  *os << c.name;
}

class BlobPlacement : public BlobPages, public ::testing::WithParamInterface<PlacementCase> {};

// With 4,096-byte pages D is 4,056: a shared page takes L + 24 < D.
INSTANTIATE_TEST_SUITE_P(
    PageSize4096, BlobPlacement,
    ::testing::Values(PlacementCase{"LargestShared", 4031, true, {}, 0, false, 1},
                      PlacementCase{"SmallestSequence", 4032, false, {4024, 8}, 8, false, 2},
                      PlacementCase{"TenThousandBytes", 10000, false, {4024, 4056, 1920}, 1920, false, 3},
                      PlacementCase{"FullLastPage", 8080, false, {4024, 4056}, 0, true, 3},
                      PlacementCase{"OneByteLeft", 8079, false, {4024, 4055}, 0, true, 3},
                      PlacementCase{"TwoBytesLeft", 8078, false, {4024, 4054}, 0, true, 3},
                      PlacementCase{"ThreeBytesLeft", 8077, false, {4024, 4053}, 0, true, 3},
                      PlacementCase{"ListSplitOverTwoPages", 8076, false, {4024, 4052}, 4052, false, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(BlobPlacement, ValuesGoWhereTheirSizeSaysAndReadBackWhole) {
  const PlacementCase& c = GetParam();
  const int32_t live = pages_.LivePages();
  const Bytes bytes = Noise(static_cast<size_t>(c.stored_size), 9);
  TVTRBlobReference reference = Store(bytes);
  EXPECT_EQ(pages_.LivePages() - live, c.pages);
  EXPECT_EQ(Read(reference), bytes);

  if (c.shared) {
    EXPECT_EQ(reference.BlobID, 0);
  } else {
    EXPECT_EQ(reference.BlobID, kSequenceBlobID);
    const BlobPageListLocator locator = LocatorOf(reference.PageNo);
    EXPECT_EQ(locator.EntryCount, static_cast<int32_t>(c.bytes_per_data_page.size()));
    EXPECT_EQ(locator.Offset, c.list_offset);
    // The data pages are the first ones added, in order; the list names them.
    std::vector<int32_t> data_pages;
    for (size_t i = 0; i < c.bytes_per_data_page.size(); ++i)
      data_pages.push_back(reference.PageNo + int32_t(i));
    const int32_t last_data_page = data_pages.back();
    EXPECT_EQ(locator.PageNo, c.list_on_new_page ? last_data_page + 1 : last_data_page);
    std::vector<int32_t> listed;
    for (int32_t page_no = locator.PageNo, offset = locator.Offset;
         static_cast<int32_t>(listed.size()) < locator.EntryCount;) {
      HeldPage page = Page(page_no);
      for (; offset + 4 <= kDataSize && static_cast<int32_t>(listed.size()) < locator.EntryCount; offset += 4)
        listed.push_back(LoadI32(page->Data() + offset));
      page_no = page->NextPage();
      offset = 0;
    }
    EXPECT_EQ(listed, data_pages);
    EXPECT_EQ(TVTRBlobPageSequence::DataPageCount(c.stored_size, kDataSize),
              static_cast<int64_t>(c.bytes_per_data_page.size()));
  }

  manager_.DeleteBlobValue(kBlobSession, reference);
  EXPECT_EQ(pages_.LivePages(), live);
}

TEST_F(BlobPages, AReferenceOfUnknownKindIsProbedAndReadEitherWay) {
  const Bytes small = Noise(300, 1), large = Noise(9000, 2);
  const TVTRBlobReference shared = Store(small);
  const TVTRBlobReference sequence = Store(large);
  {
    HeldPage page = Page(shared.PageNo);
    StoreU16(page->Data() + 2, static_cast<uint16_t>(kUnknownBlobID));
    page->SetDirty(true);
  }
  const TVTRBlobReference shared_255{shared.PageNo, kUnknownBlobID};
  const TVTRBlobReference sequence_255{sequence.PageNo, kUnknownBlobID};
  EXPECT_FALSE(manager_.IsLargeBlob(kBlobSession, shared_255));
  EXPECT_TRUE(manager_.IsLargeBlob(kBlobSession, sequence_255));
  EXPECT_EQ(Read(shared_255), small);
  EXPECT_EQ(Read(sequence_255), large);

  const int32_t live = pages_.LivePages();
  TVTRBlobReference doomed = sequence_255;
  manager_.DeleteBlobValue(kBlobSession, doomed);
  EXPECT_EQ(live - pages_.LivePages(), 3);
  doomed = shared_255;
  manager_.DeleteBlobValue(kBlobSession, doomed);
  EXPECT_EQ(live - pages_.LivePages(), 4);
}

struct Damage {
  const char* name;
  std::function<void(uint8_t* first_page_data)> apply;
};

void PrintTo(const Damage& d, std::ostream* os) {
  *os << d.name;
}

class DamagedSequence : public BlobPages, public ::testing::WithParamInterface<Damage> {};

INSTANTIATE_TEST_SUITE_P(
    Sequences, DamagedSequence,
    ::testing::Values(Damage{"ListLongerThanTheData", [](uint8_t* d) { StoreI32(d + 22 + 6, 4); }},
                      Damage{"ListShorterThanTheData", [](uint8_t* d) { StoreI32(d + 22 + 6, 2); }},
                      Damage{"NegativeSize", [](uint8_t* d) { StoreU64(d + 6, ~uint64_t{0}); }},
                      Damage{"ListOffsetPastThePage", [](uint8_t* d) { StoreU16(d + 22 + 4, 5000); }},
                      Damage{"ListOnAFreedPage", [](uint8_t* d) { StoreI32(d + 22, -1); }},
                      Damage{"ListNotStartingAtTheFirstPage",
                             [](uint8_t* d) { StoreU16(d + 22 + 4, LoadU16(d + 22 + 4) + 4); }},
                      Damage{"SizeAtTheLimit", [](uint8_t* d) { StoreU64(d + 6, ~uint64_t{0} >> 1); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(DamagedSequence, IsRefusedWithoutReadingOutsideItsPages) {
  const TVTRBlobReference reference = Store(Noise(10000, 5));
  {
    HeldPage page = Page(reference.PageNo);
    GetParam().apply(page->Data());
    page->SetDirty(true);
  }
  EXPECT_ENGINE_ERROR(Read(reference), 20162, "Cannot read BLOB field value");
  TVTRBlobReference doomed = reference;
  EXPECT_EQ(NativeErrorOf([&] { manager_.DeleteBlobValue(kBlobSession, doomed); }), 20162);
}

TEST_F(BlobPages, AListThatLeadsBackIsRefusedWithoutTakingMemoryForWhatItClaims) {
  const TVTRBlobReference reference = Store(Noise(10000, 5));
  {
    // The list claims 2^31 - 1 data pages, as the size does, and goes on
    // from the first page to the first page again.
    HeldPage page = Page(reference.PageNo);
    const int64_t size = (kDataSize - kSequenceDataAt) + int64_t{INT32_MAX - 1} * kDataSize;
    StoreU64(page->Data() + 6, static_cast<uint64_t>(size));
    EncodeBlobPageListLocator({reference.PageNo, kSequenceDataAt, INT32_MAX},
                              std::span<uint8_t, kBlobPageListLocatorSize>(
                                  page->Data() + kBlobValueHeaderSize, kBlobPageListLocatorSize));
    page->SetNextPage(reference.PageNo);
    page->SetDirty(true);
  }
  const int64_t gets = pages_.PageGets();
  EXPECT_ENGINE_ERROR(Read(reference), 20162, "Cannot read BLOB field value");
  EXPECT_LT(pages_.PageGets() - gets, 10) << "the list was followed round";
}

TEST_F(BlobPages, ASequenceThatCannotBeStoredGivesItsPagesBack) {
  const int32_t live = pages_.LivePages();
  pages_.FailAfter(2);
  EXPECT_EQ(NativeErrorOf([&] { Store(Noise(10000, 1)); }), 30015);
  pages_.FailAfter(-1);
  EXPECT_EQ(pages_.LivePages(), live);
}

}  // namespace
