// The insert that follows a unique key's check goes to the place the check
// found, when that place still holds. Between check and insert, other
// records come and go behind the check's back (splits, merges, a neighbour
// taking or leaving the place), and every insert must still land in order:
// the trees stay whole and walk in the order of a std::set oracle.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string_view>

#include "platform/rtl/Collation.h"
#include "tests/engine/storage/index/IndexTestSupport.h"

namespace {

using Value = TestIndexTable::Value;

struct Row {
  std::optional<std::string> name;  // B: descending, case-insensitive, 5-byte prefix
  std::string code;                 // C: a key of 201 bytes, for a deep tree
  TVTRRecordID id;
};

// B's order: nulls last (descending), texts by the folded collation of their
// 5-byte prefixes, then of the whole texts, reversed.
struct NameLess {
  bool operator()(const Row& x, const Row& y) const {
    if (!x.name || !y.name) return x.name.has_value() && !y.name;
    const std::string_view a = *x.name, b = *y.name;
    const int prefixes = CollateText(a.substr(0, 5), b.substr(0, 5), true);
    return (prefixes != 0 ? prefixes : CollateText(a, b, true)) > 0;
  }
};

struct CodeLess {
  bool operator()(const Row& x, const Row& y) const { return CollateText(x.code, y.code, false) < 0; }
};

// Texts that share their first five bytes, so that the prefix keys tie and
// the stored records settle the order.
const std::vector<std::string> kStems = {"abcde", "ABCDE", "\xA1\xA2\xA3\xA4\xA5", "\xE0\xA1"};
const std::string kTails = "aBz\xA1\xE8";

class CheckedInsert : public ::testing::Test {
 protected:
  CheckedInsert() : table_({{"B", adtString, 20}, {"C", adtString, 200}}), random_(2602) {
    name_index_ = table_.AddIndex("ByName", {{"B", true, true, 5}}, true);
    code_index_ = table_.AddIndex("ByCode", {{"C"}}, true);
  }

  int Draw(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }
  Row RandomRow() {
    Row row;
    if (Draw(20) > 0) {
      row.name = kStems[static_cast<size_t>(Draw(static_cast<int>(kStems.size())))];
      for (int n = Draw(6); n > 0; --n) row.name->push_back(kTails[static_cast<size_t>(Draw(5))]);
    }
    row.code = std::to_string(Draw(20000));
    return row;
  }
  std::vector<Value> Values(const Row& row) {
    return {row.name ? Value(*row.name) : std::nullopt, Value(row.code)};
  }
  bool Free(const Row& row) const { return !names_.contains(row) && !codes_.contains(row); }

  // A record stored without a check, as between another check and its insert.
  void InsertUnchecked() {
    Row row = RandomRow();
    if (!Free(row)) return;
    Add(row);
  }
  void Add(Row row) {
    row.id = table_.Insert(Values(row));
    names_.insert(row);
    codes_.insert(row);
    rows_.push_back(row);
  }
  void DeleteOne() {
    if (rows_.empty()) return;
    const size_t i = static_cast<size_t>(Draw(static_cast<int>(rows_.size())));
    table_.Delete(rows_[i].id);
    names_.erase(rows_[i]);
    codes_.erase(rows_[i]);
    rows_[i] = rows_.back();
    rows_.pop_back();
  }

  // The check of both unique indexes, as the constraints run it before an insert.
  bool Checked(const Row& row) {
    const std::vector<uint8_t> record = table_.Record(Values(row));
    bool free = true;
    for (const int32_t index : {name_index_, code_index_})
      free &= !table_.Manager().IsDuplicateKey(0, index, {}, true, nullptr, record.data());
    return free;
  }

  template <typename Oracle>
  void ExpectOrder(int32_t index_id, const Oracle& oracle) {
    TVTRBTreeRecordIndex& index = table_.Index(index_id);
    ASSERT_NO_THROW(index.CheckIntegrity(0));
    std::vector<TVTRRecordID> walked, expected;
    for (const Row& row : oracle) expected.push_back(row.id);
    TVTRKeyPath path;
    for (bool more = index.First(0, path); more; more = index.Next(0, path)) {
      TVTRRecordID id;
      index.GetValueAtPath(0, path, id);
      walked.push_back(id);
    }
    ASSERT_EQ(walked, expected);
  }

  TestIndexTable table_;
  int32_t name_index_, code_index_;
  std::mt19937 random_;
  std::set<Row, NameLess> names_;
  std::set<Row, CodeLess> codes_;
  std::vector<Row> rows_;
};

TEST_F(CheckedInsert, InsertsAfterTheirChecksLandInOrderWhateverHappensInBetween) {
  int refused = 0;
  for (int op = 1; op <= 2500; ++op) {
    const Row row = RandomRow();
    const bool free = Checked(row);
    ASSERT_EQ(free, Free(row)) << "operation " << op;
    switch (Draw(6)) {
      case 0:
        InsertUnchecked();
        break;
      case 1:
        DeleteOne();
        break;
      case 2:
        for (int n = 0; n < 20; ++n) InsertUnchecked();
        break;
      case 3:
        for (int n = 0; n < 10; ++n) DeleteOne();
        break;
      default:
        break;  // nothing in between: the common case
    }
    if (free && Free(row)) {
      Add(row);
    } else {
      ++refused;
    }
    if (op % 250 == 0) {
      ExpectOrder(name_index_, names_);
      ExpectOrder(code_index_, codes_);
      if (HasFatalFailure()) return;
    }
  }
  EXPECT_GT(rows_.size(), 300u);
  EXPECT_GT(refused, 100) << "keys taken at their check or before their insert";
}

}  // namespace
