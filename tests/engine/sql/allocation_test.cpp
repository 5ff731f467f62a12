// Evaluating a bound filter allocates nothing per record.
#include <gtest/gtest.h>

#include <vector>

#include "tests/engine/sql/AllocationCounter.h"
#include "tests/engine/sql/ExpressionTable.h"

namespace {

TEST(Allocations, ABoundFilterIsEvaluatedWithoutAllocating) {
  TVTRVariant day;
  ExpressionTable table({{"a", adtInteger}, {"s", adtString, 20}, {"d", adtDate}}, {});
  TVTRSQLParams params;
  TVTRSQLParam& begin = params.AddParam();
  begin.SetName("b");
  begin.SetAsDate(EncodeDate(2024, 1, 1));
  TVTRSQLParam& end = params.AddParam();
  end.SetName("e");
  end.SetAsDate(EncodeDate(2024, 12, 31));

  // Two records that pass and one that fails at each conjunct.
  struct Record {
    int32_t a;
    const char* s;
    TDateTime d;
    bool passes;
  };
  const Record records[] = {
      {5, "xylophone", EncodeDate(2024, 3, 1), true},  {5, "x", EncodeDate(2024, 12, 31), true},
      {4, "xylophone", EncodeDate(2024, 3, 1), false}, {5, "axe", EncodeDate(2024, 3, 1), false},
      {5, "x", EncodeDate(2025, 1, 1), false},
  };
  TVTRLocalCursor& cursor = table.Cursor();
  std::vector<std::vector<uint8_t>> buffers;
  for (const Record& record : records) {
    std::vector<uint8_t>& buffer = buffers.emplace_back(static_cast<size_t>(cursor.RecordBufferSize), 0);
    cursor.InitRecord(buffer.data(), false);
    TVTRVariant a = Integer(record.a), s = Text(record.s);
    day.SetAsDate(record.d);
    cursor.SetFieldValue(a, 0, true, buffer.data());
    cursor.SetFieldValue(s, 1, true, buffer.data());
    cursor.SetFieldValue(day, 2, true, buffer.data());
  }

  ParsedExpression parsed("a = 5 AND s LIKE 'x%' AND d BETWEEN :b AND :e", &params);
  TVTRSQLExpression& filter = parsed.Condition();
  filter.AssignCursor(cursor, nullptr, nullptr);
  for (size_t i = 0; i < buffers.size(); ++i) {
    filter.AssignRecordBuffer(buffers[i].data(), 0);
    EXPECT_EQ(filter.GetBooleanValue(), records[i].passes) << i;
  }

  const int64_t before = HeapAllocations();
  int32_t passed = 0;
  for (int32_t i = 0; i < 10000; ++i) {
    filter.AssignRecordBuffer(buffers[i % buffers.size()].data(), 0);
    passed += filter.GetBooleanValue();
  }
  EXPECT_EQ(HeapAllocations() - before, 0);
  EXPECT_EQ(passed, 4000);

  // The count sees a filter that copies its text.
  ParsedExpression copying("UPPER(s) LIKE 'X%'");
  TVTRSQLExpression& upper = copying.Condition();
  upper.AssignCursor(cursor, nullptr, nullptr);
  upper.AssignRecordBuffer(buffers[0].data(), 0);
  const int64_t before_copies = HeapAllocations();
  for (int32_t i = 0; i < 100; ++i) EXPECT_TRUE(upper.GetBooleanValue());
  EXPECT_GE(HeapAllocations() - before_copies, 100);
}

}  // namespace
