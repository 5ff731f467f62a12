// Random inserts, deletes and searches against a std::set of (key, RecordID)
// that orders keys by the same rules independently: nulls first, numbers by
// value, text by the collation, descending columns reversed, then RecordIDs.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "platform/rtl/Collation.h"
#include "tests/engine/storage/btree/BTreeTestSupport.h"

namespace {

using Value = TestLayout::Value;

struct Entry {
  std::vector<Value> values;
  TVTRRecordID id;
};

// Which keys a run draws and how its index orders them.
struct Shape {
  std::vector<TestLayout::Field> fields;
  std::vector<TestLayout::Column> columns;
  std::vector<std::string> texts;  // text values are drawn from these
  int null_percent;
};

class Oracle {
 public:
  explicit Oracle(const Shape& shape) : entries_(Less{&shape}) {}

  struct Less {
    const Shape* shape;
    int CompareKeys(const Entry& a, const Entry& b) const {
      for (const TestLayout::Column& column : shape->columns) {
        const Value& x = a.values[static_cast<size_t>(column.field)];
        const Value& y = b.values[static_cast<size_t>(column.field)];
        int r = 0;
        if (!x || !y) {
          r = !x && !y ? 0 : !x ? -1 : 1;
        } else if (const auto* text = std::get_if<std::string>(&*x)) {
          r = CollateText(*text, std::get<std::string>(*y), column.case_insensitive);
          r = r < 0 ? -1 : r > 0;
        } else {
          const int64_t p = std::get<int64_t>(*x), q = std::get<int64_t>(*y);
          r = p < q ? -1 : p > q;
        }
        if (column.descending) r = -r;
        if (r != 0) return r;
      }
      return 0;
    }
    bool operator()(const Entry& a, const Entry& b) const {
      if (int r = CompareKeys(a, b)) return r < 0;
      if (a.id.PageNo != b.id.PageNo) return a.id.PageNo < b.id.PageNo;
      return a.id.SlotNo < b.id.SlotNo;
    }
  };
  using Set = std::set<Entry, Less>;

  Set& Entries() { return entries_; }
  // The entry FindKey must settle on for a key, or end().
  Set::const_iterator Expected(const Entry& key, bool forward, TVTRScanComparison mode) const {
    Entry low = key, high = key;
    low.id = {INT32_MIN, 0};
    high.id = {INT32_MAX, 65535};
    const auto lower = entries_.lower_bound(low), upper = entries_.upper_bound(high);
    const auto begin = entries_.begin(), end = entries_.end();
    if (forward) {
      switch (mode) {
        case scEqual:
          return lower != upper ? lower : end;
        case scBefore:
          return lower != begin ? begin : end;
        case scAfter:
          return upper;
        case scNotAfter:
          return upper != begin ? begin : end;
        default:
          return lower;
      }
    }
    switch (mode) {
      case scEqual:
        return lower != upper ? std::prev(upper) : end;
      case scBefore:
        return lower != begin ? std::prev(lower) : end;
      case scAfter:
        return upper != end ? std::prev(end) : end;
      case scNotAfter:
        return upper != begin ? std::prev(upper) : end;
      default:
        return lower != end ? std::prev(end) : end;
    }
  }

 private:
  Set entries_;
};

struct RunPlan {
  int operations;
  int check_every;  // integrity check interval besides every split or merge; 1 = after every operation
  int expected_min_depth;
};

class OracleRun {
 public:
  OracleRun(const Shape& shape, uint32_t seed)
      : shape_(shape), layout_(shape.fields), oracle_(shape_), random_(seed) {
    layout_.AddColumns(key_ref_, shape.columns);
    tree_.emplace(pages_, key_ref_);
  }

  void Run(const RunPlan& plan) {
    for (int op = 1; op <= plan.operations; ++op) {
      const int64_t stamp = pages_.StructureStamp();
      const int roll = Draw(100);
      if (roll < 62 || live_.empty()) {
        Insert();
      } else if (roll < 80) {
        DeleteExisting();
      } else if (roll < 85) {
        DeleteMissing();
      } else {
        Seek();
      }
      if (::testing::Test::HasFatalFailure()) return;
      if (op % plan.check_every == 0 || pages_.StructureStamp() != stamp) {
        ASSERT_NO_THROW(tree_->CheckIntegrity()) << "after operation " << op;
      }
      if (op % 2000 == 0) {
        ExpectSameOrder();
        pages_.Commit(tree_->Session());
      }
    }
    ASSERT_NO_THROW(tree_->CheckIntegrity());
    ExpectSameOrder();
    EXPECT_GE(tree_->Depth(), plan.expected_min_depth);
  }

  // Deletes every entry left; the tree must end as one empty root leaf.
  void Drain() {
    while (!live_.empty()) {
      DeleteExisting();
      if (live_.size() % 50 == 0) {
        ASSERT_NO_THROW(tree_->CheckIntegrity());
      }
    }
    ASSERT_NO_THROW(tree_->CheckIntegrity());
    TVTRKeyPath path;
    EXPECT_FALSE(tree_->First(path));
    pages_.Commit(tree_->Session());
    EXPECT_EQ(pages_.LivePages(), 1) << "pages of the emptied tree were not given back";
  }

  size_t Size() const { return live_.size(); }

 private:
  int Draw(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }

  Entry RandomEntry() {
    Entry entry;
    for (const TestLayout::Field& field : shape_.fields) {
      if (Draw(100) < shape_.null_percent) {
        entry.values.emplace_back(std::nullopt);
      } else if (field.type == bdtString) {
        entry.values.emplace_back(
            shape_.texts[static_cast<size_t>(Draw(static_cast<int>(shape_.texts.size())))]);
      } else {
        entry.values.emplace_back(int64_t{Draw(13) - 6});
      }
    }
    // Page numbers on both sides of zero and slots past 32767.
    entry.id = {Draw(2000) - 3, static_cast<uint16_t>(Draw(65536))};
    return entry;
  }

  Entry FreshEntry() {
    Entry entry = RandomEntry();
    while (!used_ids_.insert({entry.id.PageNo, entry.id.SlotNo}).second) entry.id = RandomEntry().id;
    return entry;
  }

  VTRBufferPtr KeyOf(const Entry& entry) {
    const std::vector<uint8_t> record = layout_.Record(entry.values);
    VTRBufferPtr key = key_ref_.AllocKey();
    key_ref_.BuildKey(record.data(), key.get());
    return key;
  }

  void Insert() {
    const Entry entry = FreshEntry();
    VTRBufferPtr key = KeyOf(entry);
    tree_->Insert(key.get(), RecordIDBytes(entry.id).data());
    ASSERT_TRUE(oracle_.Entries().insert(entry).second);
    live_.push_back(entry);
  }

  void DeleteExisting() {
    const size_t i = static_cast<size_t>(Draw(static_cast<int>(live_.size())));
    const Entry entry = live_[i];
    live_[i] = live_.back();
    live_.pop_back();
    VTRBufferPtr key = KeyOf(entry);
    ASSERT_TRUE(tree_->Delete(key.get(), RecordIDBytes(entry.id).data()));
    oracle_.Entries().erase(entry);
  }

  void DeleteMissing() {
    const Entry entry = FreshEntry();
    VTRBufferPtr key = KeyOf(entry);
    ASSERT_FALSE(tree_->Delete(key.get(), RecordIDBytes(entry.id).data()));
  }

  void Seek() {
    const bool existing = Draw(2) == 0 && !live_.empty();
    const Entry probe =
        existing ? live_[static_cast<size_t>(Draw(static_cast<int>(live_.size())))] : RandomEntry();
    const bool forward = Draw(2) == 0;
    const auto mode = static_cast<TVTRScanComparison>(1 + Draw(5));
    VTRBufferPtr key = KeyOf(probe);
    TVTRKeyPath path;
    const bool found = tree_->FindKey(forward, mode, key.get(), path);
    const auto expected = oracle_.Expected(probe, forward, mode);
    ASSERT_EQ(found, expected != oracle_.Entries().end()) << "mode " << int{mode} << " forward " << forward;
    if (found) {
      EXPECT_EQ(tree_->ValueAt(path), RecordIDBytes(expected->id))
          << "mode " << int{mode} << " forward " << forward;
    }
    if (existing) {
      ASSERT_TRUE(tree_->FindEntry(key.get(), RecordIDBytes(probe.id).data(), path));
      EXPECT_EQ(tree_->ValueAt(path), RecordIDBytes(probe.id));
    }
  }

  void ExpectSameOrder() {
    std::vector<std::vector<uint8_t>> expected;
    for (const Entry& entry : oracle_.Entries()) expected.push_back(RecordIDBytes(entry.id));
    ASSERT_EQ(tree_->Values(), expected);
  }

  Shape shape_;
  TestLayout layout_;
  MemoryPageManager pages_;
  TVTRRecordKeyRef key_ref_;
  std::optional<TestTree> tree_;
  Oracle oracle_;
  std::mt19937 random_;
  std::vector<Entry> live_;
  std::set<std::pair<int32_t, uint16_t>> used_ids_;
};

// Thai and ASCII texts, with case variants and common prefixes.
const std::vector<std::string> kTexts = {"",
                                         "a",
                                         "A",
                                         "ab",
                                         "aB",
                                         "abc",
                                         "b",
                                         "\xA1",
                                         "\xA1\xD2",
                                         "\xE0\xA1",
                                         "\xA2",
                                         "\xA1"
                                         "a",
                                         "\xBB\xD2",
                                         "\xCD\xD2",
                                         "z\xA1",
                                         "Z",
                                         "\xE1\xA1",
                                         "\xA1\xE8"};

TEST(BTreeOracle, SmallMultiColumnKeysWithNullsDescendingAndFoldedText) {
  // A small integer column and a descending case-insensitive text column: few
  // distinct keys, so equal keys spread over many leaves.
  const Shape shape{{{bdtSmallInt, 2}, {bdtString, 7}}, {{0}, {1, true, true}}, kTexts, 10};
  OracleRun run(shape, 20240601);
  run.Run({50000, 500, 2});
  EXPECT_GT(run.Size(), 20000u);
  run.Drain();
}

TEST(BTreeOracle, LongKeysMakeADeepTreeCheckedAfterEveryOperation) {
  // 1001-byte keys: four entries a page, so a few hundred entries need five levels.
  const Shape shape{{{bdtString, 1000}}, {{0}}, kTexts, 8};
  OracleRun run(shape, 77);
  run.Run({2500, 1, 4});
  run.Drain();
}

TEST(BTreeOracle, LongKeysWithManyDuplicatesAcrossLevels) {
  std::vector<std::string> few = {"\xA1", "b", std::string(900, 'x')};
  const Shape shape{{{bdtString, 1000}, {bdtInteger, 4}}, {{0, true}, {1}}, few, 5};
  OracleRun run(shape, 5);
  run.Run({1500, 1, 4});
  run.Drain();
}

}  // namespace
