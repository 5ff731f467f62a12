// Insert and seek of one million 8-byte keys (a BIGINT index column: a null
// flag and 8 bytes, with a 6-byte RecordID per entry) through the B-tree, on a
// disk page manager over a database file in a temporary folder. Inserts run
// in one transaction committed at the end; seeks run on the committed tree.
// Build with -DCMAKE_BUILD_TYPE=Release -DVTR_BUILD_BENCH=ON.
//   btree_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/VTRBTree.h"
#include "engine/storage/VTRDiskEngine.h"

namespace {

constexpr int64_t kKeys = 1'000'000;
constexpr int32_t kSession = 0;
constexpr int32_t kPageSize = 4096;

// A database file that is removed with its folder.
class ScratchDatabase {
 public:
  ScratchDatabase() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vtr-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern;
    const std::string file = (folder_ / "bench.vtr").string();
    {
      TVTRDiskPageManager creator;
      creator.CreateDatabase(file, TVTRPassword{}, kPageSize, 8);
    }
    bool multi_user = false, needs_repair = false, read_only = false;
    pages_.OpenDatabase(file, TVTRPassword{}, multi_user, false, needs_repair, read_only);
    key_ref_.AddColumn(0, 1, 8, bdtLargeInt, 20, false, false);
    key_ref_.ValueSize = kRecordIDValueSize;
    TVTRBTreePage root(pages_, key_ref_);
    root.NewPage(kSession);
    root.InitRootLeaf();
    root.SetDirty();
    root_ = root.PageNo();
  }
  ~ScratchDatabase() {
    try {
      pages_.Rollback(kSession);
      pages_.CloseDatabase();
    } catch (...) {
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  void Insert(int64_t key_value, int64_t ordinal) {
    uint8_t key[9], value[kRecordIDSize];
    MakeKey(key_value, key);
    StoreRecordID(value, {static_cast<int32_t>(ordinal / 100), static_cast<uint16_t>(ordinal % 100)});
    TVTRKeyPath path;
    WithTreeRoot(pages_, key_ref_, kSession, root_,
                 [&](TVTRBTreePage& root) { root.Insert(kSession, key, path, value); });
  }
  bool Seek(int64_t key_value, TVTRKeyPath& path) {
    uint8_t key[9];
    MakeKey(key_value, key);
    path.Clear();
    return WithTreeRoot(pages_, key_ref_, kSession, root_, [&](TVTRBTreePage& root) {
      return root.FindKey(kSession, true, path, scEqual, key);
    });
  }
  void Commit() { pages_.Commit(kSession); }
  int32_t Depth() {
    TVTRKeyPath path;
    WithTreeRoot(pages_, key_ref_, kSession, root_, [&](TVTRBTreePage& root) { root.First(kSession, path); });
    return path.Depth();
  }
  TVTRDiskPageManager& Pages() { return pages_; }

 private:
  static void MakeKey(int64_t value, uint8_t* key) {
    key[0] = 0;  // not null
    StoreU64(key + 1, static_cast<uint64_t>(value));
  }

  std::filesystem::path folder_;
  TVTRDiskPageManager pages_;
  TVTRRecordKeyRef key_ref_;
  int32_t root_ = -1;
};

std::vector<int64_t> Keys(bool shuffled) {
  std::vector<int64_t> keys(kKeys);
  std::iota(keys.begin(), keys.end(), int64_t{1});
  if (shuffled) std::shuffle(keys.begin(), keys.end(), std::mt19937_64(2024));
  return keys;
}

void Insert(benchmark::State& state, bool shuffled) {
  const std::vector<int64_t> keys = Keys(shuffled);
  for (auto _ : state) {
    state.PauseTiming();
    {
      ScratchDatabase database;
      state.ResumeTiming();
      for (int64_t i = 0; i < kKeys; ++i) database.Insert(keys[static_cast<size_t>(i)], i);
      database.Commit();
      state.PauseTiming();
      state.counters["depth"] = database.Depth();
      state.counters["cache_pages"] = database.Pages().CacheCapacity();
    }
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

void BM_InsertAscending(benchmark::State& state) {
  Insert(state, false);
}
void BM_InsertRandom(benchmark::State& state) {
  Insert(state, true);
}

// The argument is the page cache's capacity in pages; 0 keeps the default,
// which holds a fifth of the tree.
void BM_SeekRandom(benchmark::State& state) {
  ScratchDatabase database;
  if (state.range(0) > 0) database.Pages().SetCacheCapacity(static_cast<int32_t>(state.range(0)));
  const std::vector<int64_t> keys = Keys(true);
  for (int64_t i = 0; i < kKeys; ++i) database.Insert(keys[static_cast<size_t>(i)], i);
  database.Commit();
  const std::vector<int64_t> probes = Keys(true);
  int64_t found = 0;
  TVTRKeyPath path;
  for (auto _ : state) {
    for (const int64_t key : probes) found += database.Seek(key, path);
  }
  if (found != state.iterations() * kKeys) state.SkipWithError("a key was not found");
  state.SetItemsProcessed(state.iterations() * kKeys);
  state.counters["cache_pages"] = database.Pages().CacheCapacity();
}

BENCHMARK(BM_InsertAscending)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_InsertRandom)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SeekRandom)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(0)->Arg(8192);

}  // namespace

BENCHMARK_MAIN();
