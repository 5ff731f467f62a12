#include <gtest/gtest.h>

#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/btree/RecordKeyRef.h"
#include "tests/engine/storage/btree/BTreeTestSupport.h"
#include "tests/support/EngineErrors.h"

namespace {

using Value = TestLayout::Value;

// Compares the keys of two single-column records.
int CompareOne(TVTRRecordKeyRef& key_ref, const TestLayout& layout, const Value& a, const Value& b) {
  const std::vector<uint8_t> record_a = layout.Record({a}), record_b = layout.Record({b});
  VTRBufferPtr key_a = key_ref.AllocKey(), key_b = key_ref.AllocKey();
  key_ref.BuildKey(record_a.data(), key_a.get());
  key_ref.BuildKey(record_b.data(), key_b.get());
  return key_ref.CompareKeys(key_a.get(), key_b.get(), false, 0, nullptr, nullptr);
}

TEST(RecordKeyRef, OrdersNullsFirstAscendingAndLastDescending) {
  const TestLayout layout({{bdtInteger, 4}});
  struct Case {
    bool descending;
    Value a, b;
    int expected;
  };
  const Case cases[] = {
      {false, std::nullopt, int64_t{-100}, -1}, {false, int64_t{-100}, std::nullopt, 1},
      {false, std::nullopt, std::nullopt, 0},   {false, int64_t{-2}, int64_t{3}, -1},
      {true, std::nullopt, int64_t{-100}, 1},   {true, std::nullopt, std::nullopt, 0},
      {true, int64_t{-2}, int64_t{3}, 1},
  };
  for (const Case& c : cases) {
    TVTRRecordKeyRef key_ref;
    layout.AddColumns(key_ref, {{0, c.descending}});
    EXPECT_EQ(CompareOne(key_ref, layout, c.a, c.b), c.expected) << "descending " << c.descending;
  }
}

TEST(RecordKeyRef, TextFollowsTheThaiCollationAndFoldsCaseWhenAsked) {
  const TestLayout layout({{bdtString, 11}});
  TVTRRecordKeyRef exact, folded;
  layout.AddColumns(exact, {{0}});
  layout.AddColumns(folded, {{0, false, true}});
  EXPECT_NE(CompareOne(exact, layout, std::string("abc"), std::string("ABC")), 0);
  EXPECT_EQ(CompareOne(folded, layout, std::string("abc"), std::string("ABC")), 0);
  // Leading vowels do not count first: "เก" sorts with "ก", before "ข", whatever the bytes say.
  EXPECT_EQ(CompareOne(exact, layout, std::string("\xE0\xA1"), std::string("\xA2")), -1);
  EXPECT_EQ(CompareOne(exact, layout, std::string("ab"), std::string("abc")), -1);
}

TEST(RecordKeyRef, MultiColumnKeysCompareColumnByColumnOverTheComparedColumns) {
  const TestLayout layout({{bdtSmallInt, 2}, {bdtString, 5}});
  TVTRRecordKeyRef key_ref;
  layout.AddColumns(key_ref, {{0}, {1, true}});
  EXPECT_EQ(key_ref.KeyLength, 3 + 6);
  const std::vector<uint8_t> a = layout.Record({int64_t{1}, std::string("a")});
  const std::vector<uint8_t> b = layout.Record({int64_t{1}, std::string("b")});
  VTRBufferPtr key_a = key_ref.AllocKey(), key_b = key_ref.AllocKey();
  key_ref.BuildKey(a.data(), key_a.get());
  key_ref.BuildKey(b.data(), key_b.get());
  EXPECT_EQ(key_ref.CompareKeys(key_a.get(), key_b.get(), false, 0, nullptr, nullptr), 1);
  key_ref.ComparedColumns = 1;
  EXPECT_EQ(key_ref.CompareKeys(key_a.get(), key_b.get(), false, 0, nullptr, nullptr), 0);
}

TEST(EntryValues, RecordIDsOrderByPageSignedThenSlotUnsigned) {
  const auto compare = [](TVTRRecordID a, TVTRRecordID b) {
    return TVTRBTreeKeyRef::CompareEntryValues(RecordIDBytes(a).data(), RecordIDBytes(b).data(),
                                               kRecordIDValueSize);
  };
  EXPECT_EQ(compare({-1, 9}, {0, 0}), -1);
  EXPECT_EQ(compare({4, 65535}, {4, 1}), 1);
  EXPECT_EQ(compare({4, 7}, {4, 7}), 0);
  const uint8_t low[2] = {0xFF, 0x00}, high[2] = {0x00, 0x01};
  EXPECT_EQ(TVTRBTreeKeyRef::CompareEntryValues(low, high, 2), 1) << "amounts compare as bytes";
}

TEST(PageKeyRef, OrdersPageNumbersSigned) {
  TVTRPageKeyRef key_ref;
  uint8_t minus_one[4], zero[4];
  StoreI32(minus_one, -1);
  StoreI32(zero, 0);
  EXPECT_EQ(key_ref.CompareKeys(minus_one, zero, true, 0, nullptr, nullptr), -1);
  EXPECT_EQ(key_ref.CompareFullKeys(zero, minus_one), 1);
}

// A prefix column keeping 4 bytes of a 30-character text.
class PrefixKeys : public ::testing::Test {
 protected:
  PrefixKeys() : layout_({{bdtString, 31}}), records_(layout_.RecordSize()), key_ref_(&records_) {
    layout_.AddColumns(key_ref_, {{0, false, false, 4}});
  }

  // The compact key of a text, stored as record `id` when given.
  VTRBufferPtr Key(const std::string& text, std::optional<TVTRRecordID> id = std::nullopt) {
    const std::vector<uint8_t> record = layout_.Record({text});
    if (id) records_.records[{id->PageNo, id->SlotNo}] = record;
    VTRBufferPtr key = key_ref_.AllocKey();
    key_ref_.BuildKey(record.data(), key.get());
    return key;
  }

  TestLayout layout_;
  TestRecordSource records_;
  TVTRRecordKeyRef key_ref_;
};

TEST_F(PrefixKeys, AShortTextIsSettledByThePrefixWithoutReadingRecords) {
  EXPECT_EQ(key_ref_.KeyLength, 4 + 3);
  EXPECT_EQ(key_ref_.FullKeyLength, 31 + 1);
  const TVTRRecordID stored{3, 1};
  VTRBufferPtr entry = Key("abc", stored);
  const std::vector<uint8_t> search = layout_.Record({std::string("abc")});
  VTRBufferPtr key = key_ref_.AllocKey();
  key_ref_.BuildKey(search.data(), key.get());
  EXPECT_EQ(key_ref_.CompareKeys(key.get(), entry.get(), true, 0, nullptr, RecordIDBytes(stored).data()), 0);
  EXPECT_EQ(records_.reads, 0);
}

TEST_F(PrefixKeys, FilledPrefixesAreSettledFromTheRecords) {
  const TVTRRecordID stored{3, 1};
  VTRBufferPtr entry = Key("abcdY", stored);
  const std::vector<uint8_t> search = layout_.Record({std::string("abcdX")});
  VTRBufferPtr key = key_ref_.AllocKey();
  key_ref_.BuildKey(search.data(), key.get());
  EXPECT_EQ(key_ref_.CompareKeys(key.get(), entry.get(), false, 0, nullptr, RecordIDBytes(stored).data()), 0);
  EXPECT_EQ(key_ref_.CompareKeys(key.get(), entry.get(), true, 0, nullptr, RecordIDBytes(stored).data()), -1);
  EXPECT_EQ(records_.reads, 1);
  EXPECT_EQ(key.get()[1 + 4], 0) << "the probe byte was left in the key";
  EXPECT_EQ(NativeErrorOf([&] {
              key_ref_.CompareKeys(key.get(), entry.get(), true, 0, nullptr, RecordIDBytes({9, 9}).data());
            }),
            20170);
}

TEST(RecordKeyRef, ATieOfFilledPrefixesLeavesTheColumnsBehindItToTheRecords) {
  const TestLayout layout({{bdtString, 31}, {bdtSmallInt, 2}});
  TestRecordSource records(layout.RecordSize());
  TVTRRecordKeyRef key_ref(&records);
  layout.AddColumns(key_ref, {{0, false, false, 4}, {1}});
  const TVTRRecordID stored{3, 1};
  records.records[{3, 1}] = layout.Record({std::string("abcdZ"), int64_t{1}});
  const std::vector<uint8_t> search = layout.Record({std::string("abcdA"), int64_t{2}});
  VTRBufferPtr entry = key_ref.AllocKey(), key = key_ref.AllocKey();
  key_ref.BuildKey(records.records[{3, 1}].data(), entry.get());
  key_ref.BuildKey(search.data(), key.get());
  // The second column would say "after"; the whole texts say "before".
  EXPECT_EQ(key_ref.CompareKeys(key.get(), entry.get(), false, 0, nullptr, RecordIDBytes(stored).data()), 0);
  EXPECT_EQ(key_ref.CompareKeys(key.get(), entry.get(), true, 0, nullptr, RecordIDBytes(stored).data()), -1);
}

TEST_F(PrefixKeys, ARecordsOwnEntryIsSettledFromItsBufferNotItsChangedStoredCopy) {
  const TVTRRecordID id{5, 2};
  VTRBufferPtr entry = Key("abcdOLD", id);
  Key("abcdNEW", id);  // the update is stored before the index entry is moved
  const std::vector<uint8_t> old_record = layout_.Record({std::string("abcdOLD")});
  VTRBufferPtr key = key_ref_.AllocKey();
  key_ref_.BuildKey(old_record.data(), key.get(), id);
  EXPECT_EQ(key_ref_.CompareKeys(key.get(), entry.get(), true, 0, nullptr, RecordIDBytes(id).data()), 0);
  EXPECT_EQ(records_.reads, 0);
}

}  // namespace
