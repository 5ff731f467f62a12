#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "engine/foundation/VTRTypes.h"
#include "engine/storage/VTRBase.h"
#include "tests/engine/storage/base/FakeExpression.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/engine/storage/common/TestCursor.h"

namespace {

using Kind = FakeExpression::Node::Kind;

class ScanConditions : public ::testing::Test {
 protected:
  static constexpr int32_t kIndexAB = 10, kIndexA = 11, kIndexTemporary = 12;

  ScanConditions() {
    TVTRFieldDefs fields;
    for (const char* name : {"A", "B", "C"}) {
      TVTRFieldDef& field = fields.AddFieldDef();
      field.Name = name;
      field.SetDataType(adtInteger, 0);
    }
    cursor_.SetTableFields(fields);
  }

  void AddIndex(int32_t id, std::vector<TVTRIndexColumn> columns) {
    TVTRIndexDef& index = indexes_.AddIndexDef();
    index.Name = "IX" + std::to_string(id);
    index.ObjectID = id;
    index.Columns = std::move(columns);
  }

  FakeExpression& Filter(const char* text) {
    expression_.ParseFilter(cursor_, text, false, false);
    return expression_;
  }

  // The key's value of a field; nullopt when the key holds NULL there.
  std::optional<int32_t> KeyValue(const TVTRScanSearchCondition& condition, int32_t field_no) const {
    if (GetBufferBit(field_no, condition.KeyBuffer())) return std::nullopt;
    int32_t value;
    std::memcpy(&value, condition.KeyBuffer() + cursor_.TableFieldDefs.GetFieldDef(field_no).MemoryOffset, 4);
    return value;
  }

  // Evaluates the expression against a record of A, B and C.
  bool Passes(std::optional<int32_t> a, std::optional<int32_t> b, std::optional<int32_t> c = 0) {
    Bytes record(cursor_.RecordBufferSize, 0);
    const std::optional<int32_t> values[] = {a, b, c};
    for (int32_t i = 0; i < 3; ++i) {
      const int32_t value = values[i].value_or(0);
      cursor_.SetFieldData(i, values[i] ? &value : nullptr, record.data());
    }
    expression_.AssignRecordBuffer(record.data(), 0);
    return expression_.GetBooleanValue();
  }

  TestCursor cursor_;
  TVTRIndexDefs indexes_;
  FakeExpression expression_;
  TVTRScanSearchConditionArray array_;
};

TEST_F(ScanConditions, EqualitiesOnBothColumnsGiveOneTwoColumnCondition) {
  AddIndex(kIndexAB, {{"A"}, {"B"}});
  FakeExpression& filter = Filter("A = 1 AND B = 2");
  const std::vector<FakeExpression::Node*> nodes = filter.Conjuncts();
  array_.AddExpression(&filter);
  array_.PrepareForIndexes(indexes_, 0);

  ASSERT_EQ(array_.GetCount(), 2);
  const TVTRScanSearchCondition& condition = array_.GetItem(1);
  EXPECT_EQ(condition.IndexID, kIndexAB);
  EXPECT_EQ(condition.Comparison, scEqual);
  EXPECT_EQ(condition.KeyFieldCount, 2);
  EXPECT_TRUE(condition.FromExpression);
  EXPECT_EQ(condition.KeyBufferLength(), static_cast<uint32_t>(cursor_.RecordBufferSize));
  EXPECT_EQ(KeyValue(condition, 0), 1);
  EXPECT_EQ(KeyValue(condition, 1), 2);
  EXPECT_EQ(condition.CoveredNodes, (std::vector<TVTRExprNode*>{FakeExpression::HandleOf(nodes[0]),
                                                                FakeExpression::HandleOf(nodes[1])}));
  EXPECT_EQ(condition.CoveredExpressions, (std::vector<TVTRExpression*>{&filter, &filter}));
}

TEST_F(ScanConditions, BindingEmptiesTheExpressionAndApplyingRestoresItWhole) {
  AddIndex(kIndexAB, {{"A"}, {"B"}});
  FakeExpression& filter = Filter("A = 1 AND B = 2");
  const std::vector<FakeExpression::Node*> nodes = filter.Conjuncts();
  array_.AddExpression(&filter);
  array_.PrepareForIndexes(indexes_, 0);

  array_.BindConditions(1, -1);
  EXPECT_TRUE(filter.IsEmpty());
  EXPECT_TRUE(Passes(7, 7)) << "an emptied expression tests nothing";
  array_.ApplyConditions(1, -1);
  EXPECT_FALSE(filter.IsEmpty());
  EXPECT_EQ(filter.Conjuncts(), nodes);
  EXPECT_TRUE(Passes(1, 2));
  EXPECT_FALSE(Passes(1, 3));
}

TEST_F(ScanConditions, ASingleComparisonLeavesAsTheRootAndComesBackAsIt) {
  AddIndex(kIndexA, {{"A", true}});
  FakeExpression& filter = Filter("A <= 5");
  FakeExpression::Node* root = filter.Root();
  array_.AddExpression(&filter);
  array_.PrepareForIndexes(indexes_, 0);
  ASSERT_EQ(array_.GetCount(), 2);
  EXPECT_EQ(array_.GetItem(1).Comparison, scNotBefore) << "<= on a descending column";

  array_.BindConditions(-1, 1);
  EXPECT_EQ(filter.Root(), nullptr);
  EXPECT_TRUE(filter.IsEmpty());
  array_.ApplyConditions(-1, 1);
  EXPECT_EQ(filter.Root(), root);
}

TEST_F(ScanConditions, ARangeOnTheFirstColumnIsNotWidened) {
  AddIndex(kIndexAB, {{"A"}, {"B"}});
  array_.AddExpression(&Filter("A <= 5 AND A < 5 AND B = 2"));
  array_.PrepareForIndexes(indexes_, 0);
  ASSERT_EQ(array_.GetCount(), 3);
  EXPECT_EQ(array_.GetItem(1).Comparison, scNotAfter);
  EXPECT_EQ(array_.GetItem(2).Comparison, scBefore);
  EXPECT_EQ(array_.GetItem(1).KeyFieldCount, 1);
  EXPECT_EQ(array_.GetItem(2).KeyFieldCount, 1);
}

TEST_F(ScanConditions, IsNullWidensAnEqualityWithANullKeyValue) {
  AddIndex(kIndexAB, {{"A"}, {"B"}});
  array_.AddExpression(&Filter("A = 1 AND B IS NULL"));
  array_.PrepareForIndexes(indexes_, 0);
  ASSERT_EQ(array_.GetCount(), 2);
  EXPECT_EQ(array_.GetItem(1).KeyFieldCount, 2);
  EXPECT_EQ(KeyValue(array_.GetItem(1), 0), 1);
  EXPECT_EQ(KeyValue(array_.GetItem(1), 1), std::nullopt);
}

TEST_F(ScanConditions, ATemporaryIndexServesOnlyItsOwnSession) {
  AddIndex(kIndexTemporary, {{"C"}});
  indexes_.GetIndexDef(0).Temporary = true;
  indexes_.GetIndexDef(0).OwnerSessionID = 7;
  FakeExpression& filter = Filter("C > 3");
  array_.AddExpression(&filter);
  array_.PrepareForIndexes(indexes_, 3);
  EXPECT_EQ(array_.GetCount(), 1);
  array_.PrepareForIndexes(indexes_, 7);
  ASSERT_EQ(array_.GetCount(), 2);
  EXPECT_EQ(array_.GetItem(1).Comparison, scAfter);
}

TEST_F(ScanConditions, AKeyConditionIsWidenedByTheExpressionsToo) {
  AddIndex(kIndexAB, {{"A"}, {"B"}});
  Bytes key(cursor_.KeyBufferSize, 0);
  const int32_t a = 4;
  cursor_.SetFieldData(0, &a, key.data());
  TVTRScanSearchCondition goto_key;
  goto_key.SetBorrowedKey(key.data(), cursor_.KeyBufferSize);
  goto_key.IndexID = kIndexAB;
  goto_key.Comparison = scEqual;
  goto_key.KeyFieldCount = 1;
  array_.AddCondition(goto_key);
  FakeExpression& filter = Filter("B = 9");
  array_.AddExpression(&filter);
  array_.PrepareForIndexes(indexes_, 0);

  ASSERT_EQ(array_.GetCount(), 2);
  const TVTRScanSearchCondition& widened = array_.GetItem(0);
  EXPECT_FALSE(widened.BorrowedKey()) << "the array holds its own copy";
  EXPECT_EQ(widened.KeyFieldCount, 2);
  EXPECT_EQ(KeyValue(widened, 0), 4);
  EXPECT_EQ(KeyValue(widened, 1), 9);
  EXPECT_EQ(KeyValue(goto_key, 1), 0) << "the caller's key is left alone";
  array_.BindConditions(0, -1);
  EXPECT_TRUE(filter.IsEmpty());
  array_.ApplyConditions(0, -1);
  EXPECT_EQ(filter.Root()->field, "B");
}

TEST(ScanConditionArray, RemovingUnusedConditionsKeepsStartAndEndOnTheirConditions) {
  TVTRScanSearchConditionArray array;
  for (const auto& [id, from_expression] :
       {std::pair{1, true}, {2, false}, {3, true}, {4, true}, {5, true}}) {
    TVTRScanSearchCondition condition;
    condition.IndexID = id;
    condition.FromExpression = from_expression;
    array.AddCondition(condition);
  }
  int32_t start = 2, end = 4;
  array.RemoveUnusedConditions(start, end);
  ASSERT_EQ(array.GetCount(), 3);
  EXPECT_EQ(array.GetItem(0).IndexID, 2);
  EXPECT_EQ(array.GetItem(start).IndexID, 3);
  EXPECT_EQ(array.GetItem(end).IndexID, 5);
}

TEST(ScanConditionArray, RefusesConditionsWithoutTargetAndPositionsOutside) {
  TVTRScanSearchConditionArray array;
  EXPECT_ENGINE_ERROR(array.AddCondition(TVTRScanSearchCondition{}), 10388,
                      "Invalid scan condition - indexID = -1, count = 0");
  array.AddExpression(nullptr);
  EXPECT_ENGINE_ERROR(array.Delete(1), 10413, "Invalid item number - ItemNo = 1, ItemCount = 1");
  array.Delete(0);
  EXPECT_EQ(array.GetCount(), 0);
}

TEST(ScanCondition, ACopyOfABorrowedKeyOwnsItsOwnKey) {
  Bytes caller_key = {1, 2, 3, 4};
  TVTRScanSearchCondition borrowed;
  borrowed.SetBorrowedKey(caller_key.data(), 4);
  borrowed.IndexID = 3;
  {
    TVTRScanSearchCondition copy;
    copy.Assign(borrowed);
    EXPECT_FALSE(copy.BorrowedKey());
    EXPECT_NE(copy.KeyBuffer(), caller_key.data());
    EXPECT_EQ(Bytes(copy.KeyBuffer(), copy.KeyBuffer() + copy.KeyBufferLength()), caller_key);
    caller_key[0] = 9;
    EXPECT_EQ(copy.KeyBuffer()[0], 1);
  }
  EXPECT_EQ(borrowed.KeyBuffer(), caller_key.data()) << "freeing the copy leaves the caller's key";
}

TEST(SQLEngineRegistry, ExpressionsComeFromTheRegisteredFactory) {
  RegisterExpressionFactory(nullptr);
  EXPECT_THROW(CreateExpression(), std::logic_error);
  RegisterExpressionFactory([] { return std::make_unique<FakeExpression>(); });
  const std::unique_ptr<TVTRExpression> expression = CreateExpression();
  ASSERT_NE(dynamic_cast<FakeExpression*>(expression.get()), nullptr);
  EXPECT_TRUE(expression->IsEmpty());
  RegisterExpressionFactory(nullptr);
}

}  // namespace
