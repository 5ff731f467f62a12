// The SQL engine's road through a "TEMP" table: append records through the
// table data (as the local cursor's Post does) and read them back in storage
// order (as its fetches do). One million records of 64 bytes (a null-flag
// byte, seven BIGINT fields, seven bytes spare), kept in memory and spilled
// to a temporary file; the same through a "MEMORY" table for comparison; and
// the making and dropping of an empty temporary table.
// Build with -DCMAKE_BUILD_TYPE=Release -DVTR_BUILD_BENCH=ON.
//   temp_table_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/VTRBaseEngine.h"
#include "engine/storage/VTRMemEngine.h"
#include "engine/storage/VTRTempEngine.h"
#include "tests/engine/storage/common/TestCursor.h"
#include "tests/engine/storage/common/TestSession.h"

namespace {

constexpr int64_t kRecords = 1'000'000;
constexpr int32_t kFields = 7;

// A table of kFields BIGINT fields in the database and a cursor on it.
class BenchTable {
 public:
  BenchTable(TVTRDatabaseData& database, bool keep_in_memory) {
    TVTRFieldDefs fields;
    for (int32_t i = 0; i < kFields; ++i) {
      TVTRFieldDef& field = fields.AddFieldDef();
      field.Name = "F" + std::to_string(i);
      field.SetDataType(adtLargeInt, 0);
    }
    TVTRIndexDefs indexes;
    TVTRConstraintDefs constraints;
    cursor_.TableName = "BENCH";
    cursor_.Session = &session_;
    cursor_.KeepTempInMemory = keep_in_memory;
    table_ = database.CreateTableData(cursor_);
    table_->CreateTable(cursor_, fields, indexes, constraints);
    cursor_.SetTableFields(table_->FieldManager->FieldDefs);
    cursor_.CurrentRecord = cursor_.AllocRecordBuffer();
    table_->OpenTable(cursor_);
  }
  ~BenchTable() {
    table_->CloseTable(cursor_);
    cursor_.FreeRecordBuffer(cursor_.CurrentRecord);
    table_->DeleteTable(nullptr, false);
  }

  void Append(int64_t count) {
    cursor_.InitRecord(cursor_.CurrentRecord, false);
    std::fill_n(cursor_.CurrentRecord, cursor_.NullFlagsSize, 0);
    std::vector<uint8_t*> fields;
    for (int32_t f = 0; f < kFields; ++f)
      fields.push_back(cursor_.CurrentRecord + cursor_.TableFieldDefs.GetFieldDef(f).MemoryOffset);
    for (int64_t i = 0; i < count; ++i) {
      for (int32_t f = 0; f < kFields; ++f)
        StoreU64(fields[static_cast<size_t>(f)], static_cast<uint64_t>(i * kFields + f));
      if (!table_->InsertRecord(cursor_)) throw std::runtime_error("insert failed");
    }
  }
  // The sum of field 0 over every record, read in storage order.
  int64_t ReadAll() {
    cursor_.Bof = true;
    cursor_.Eof = false;
    int64_t sum = 0;
    const int32_t offset = cursor_.TableFieldDefs.GetFieldDef(0).MemoryOffset;
    while (table_->GetRecord(cursor_, fmNext) == grOK)
      sum += static_cast<int64_t>(LoadU64(cursor_.CurrentRecord + offset));
    return sum;
  }

 private:
  TestSession session_;
  TestCursor cursor_;
  TVTRTableData* table_ = nullptr;
};

template <typename Database>
void AppendAndRead(benchmark::State& state, bool keep_in_memory, int64_t budget) {
  SetTemporaryMemoryBudget(budget);
  for (auto _ : state) {
    Database database;
    BenchTable table(database, keep_in_memory);
    table.Append(kRecords);
    benchmark::DoNotOptimize(table.ReadAll());
  }
  SetTemporaryMemoryBudget(0);
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_TempInMemory(benchmark::State& state) {
  AppendAndRead<TVTRTemporaryDatabaseData>(state, true, 0);
}
void BM_TempSpilled(benchmark::State& state) {
  // Four pages of budget: all but the first few hundred records spill.
  AppendAndRead<TVTRTemporaryDatabaseData>(state, false, 4 * 4096);
}
void BM_Memory(benchmark::State& state) {
  AppendAndRead<TVTRMemoryDatabaseData>(state, true, 0);
}

// The SQL engine makes a temporary table for every result.
void BM_CreateAndDropTempTable(benchmark::State& state) {
  TVTRTemporaryDatabaseData database;
  for (auto _ : state) BenchTable table(database, false);
}

BENCHMARK(BM_CreateAndDropTempTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TempInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TempSpilled)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
