// Runs the donation report query and an IN against a subquery on our engine
// (through the query component) and on SQLite over the same rows and
// indexes, checks that both read the same results and prints the times and
// the ratios ours ÷ SQLite.
//   report_compare [--scale=N] [--folder=DIR] [--repeat=N]
// --scale divides the row counts by N; --repeat runs each query N times and
// keeps the fastest run (3 by default); the database files are removed
// afterwards.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "bench/BenchFolder.h"
#include "bench/BenchOptions.h"
#include "bench/report/SqliteReport.h"
#include "bench/report/VtrReport.h"

namespace {

struct Timed {
  double seconds = 0;
  ReportSum sum;
};

// The fastest of `repeat` runs; every run must read the same.
Timed Fastest(int repeat, const std::function<ReportSum()>& work) {
  Timed best;
  for (int i = 0; i < repeat; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const ReportSum sum = work();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (i > 0 && !(sum == best.sum)) throw std::runtime_error("two runs of one query read different results");
    if (i == 0 || seconds < best.seconds) best.seconds = seconds;
    best.sum = sum;
  }
  return best;
}

struct Measured {
  Timed report, in_subquery;
};

Measured Measure(ReportEngine& engine, const ReportSizes& sizes, const std::string& folder, int repeat) {
  const std::string own = folder + "/" + engine.Name();
  std::filesystem::create_directory(own);
  engine.Load(own, sizes);
  Measured measured{Fastest(repeat, [&] { return engine.Report(); }),
                    Fastest(repeat, [&] { return engine.InSubquery(); })};
  engine.Close();
  return measured;
}

void PrintLine(const char* work, const Timed& ours, const Timed& theirs) {
  std::printf("| %s | %.3f | %.3f | %.2f |\n", work, ours.seconds, theirs.seconds, ours.seconds / theirs.seconds);
}

}  // namespace

int main(int argc, char** argv) {
  const BenchOptions options = ParseBenchOptions(argc, argv, {.repeat = 3}, kTakesRepeat);
  try {
    const BenchFolder folder(options.folder, "vtr-report");
    const ReportSizes sizes = ReportSizes{}.Scaled(options.scale);
    VtrReport ours;
    SqliteReport sqlite;
    const Measured our_times = Measure(ours, sizes, folder.Path(), options.repeat);
    const Measured sqlite_times = Measure(sqlite, sizes, folder.Path(), options.repeat);
    if (!(our_times.report.sum == sqlite_times.report.sum) ||
        !(our_times.in_subquery.sum == sqlite_times.in_subquery.sum))
      throw std::runtime_error("the engines read different results");
    std::printf("%lld donation lines, %lld donors, SQLite %s, fastest of %d runs\n\n",
                static_cast<long long>(sizes.lines), static_cast<long long>(sizes.donors), sqlite3_libversion(),
                options.repeat);
    std::printf("| work | ours (s) | SQLite (s) | ours ÷ SQLite |\n|---|---:|---:|---:|\n");
    PrintLine("report query (join, period, GROUP BY name, ORDER BY amount)", our_times.report, sqlite_times.report);
    PrintLine("IN (uncorrelated subquery) over every line", our_times.in_subquery, sqlite_times.in_subquery);
    std::printf("\nreport: %lld groups; IN: %lld rows\n", static_cast<long long>(our_times.report.sum.rows),
                static_cast<long long>(our_times.in_subquery.sum.rows));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "report_compare: %s\n", e.what());
    return 1;
  }
  return 0;
}
