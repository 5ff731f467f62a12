// Runs the same work on our engine (through the local session and cursor)
// and on SQLite, and prints each step's time and the ratio ours ÷ SQLite,
// with the settings of both.
//   engine_compare [--scale=N] [--folder=DIR]
// --scale divides every count by N (quick trial runs); --folder is where the
// database files go (default $TMPDIR or /tmp); they are removed afterwards.
#include <sys/utsname.h>

#include <cstdio>
#include <exception>
#include <string>

#include "bench/BenchFolder.h"
#include "bench/BenchOptions.h"
#include "bench/compare/Harness.h"
#include "bench/compare/SqliteEngine.h"
#include "bench/compare/VtrEngine.h"

namespace {

void PrintSettings(const BenchEngine& engine) {
  for (const std::string& line : engine.Settings())
    std::printf("- %s: %s\n", engine.Name().c_str(), line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const BenchOptions options = ParseBenchOptions(argc, argv, {}, false);
  try {
    const BenchFolder folder(options.folder, "vtr-compare");
    const WorkloadSizes sizes = WorkloadSizes{}.Scaled(options.scale);
    VtrEngine ours;
    SqliteEngine sqlite;
    const std::vector<StepResult> our_results = RunSteps(ours, sizes, folder.Path());
    const std::vector<StepResult> sqlite_results = RunSteps(sqlite, sizes, folder.Path());
    CheckSameResults(our_results, sqlite_results);

    utsname machine{};
    ::uname(&machine);
    std::printf("Files in %s (%s %s), scale 1/%lld\n", options.folder.c_str(), machine.sysname,
                machine.release, static_cast<long long>(options.scale));
    PrintSettings(ours);
    PrintSettings(sqlite);
    std::printf("\n%s", ResultTable(our_results, sqlite_results).c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "engine_compare: %s\n", e.what());
    return 1;
  }
  return 0;
}
