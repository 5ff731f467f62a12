// Runs the same work on our engine (through the local session and cursor)
// and on SQLite, and prints each step's time, the ratio ours ÷ SQLite and the
// peak memory of each side, with the settings of both. The steps that commit
// are run once more by SQLite without its journal, as a reference. Each side
// runs in a child process of its own, so that its memory is its own.
//   engine_compare [--scale=N] [--up=N] [--folder=DIR]
// --scale divides every count by N (quick trial runs), --up multiplies them
// by N; --folder is where the database files go (default $TMPDIR or /tmp);
// they are removed afterwards.
#include <sys/utsname.h>

#include <cstdio>
#include <exception>
#include <string>

#include "bench/BenchFolder.h"
#include "bench/BenchOptions.h"
#include "bench/compare/Harness.h"
#include "bench/compare/PeakMemory.h"
#include "bench/compare/SideProcess.h"
#include "bench/compare/SqliteEngine.h"
#include "bench/compare/VtrEngine.h"

namespace {

void PrintSettings(const BenchEngine& engine) {
  for (const std::string& line : engine.Settings())
    std::printf("- %s: %s\n", engine.Name().c_str(), line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const BenchOptions options = ParseBenchOptions(argc, argv, {}, kTakesUp);
  try {
    const BenchFolder folder(options.folder, "vtr-compare");
    const WorkloadSizes sizes = WorkloadSizes{}.Scaled(options.scale).Multiplied(options.up);
    VtrEngine ours;
    SqliteEngine sqlite(SqliteJournal::kDelete);
    SqliteEngine reference(SqliteJournal::kOff);
    const std::vector<StepResult> our_results = RunStepsApart(ours, sizes, folder.Path());
    const std::vector<StepResult> sqlite_results = RunStepsApart(sqlite, sizes, folder.Path());
    const std::vector<StepResult> reference_results = RunStepsApart(reference, sizes, folder.Path());
    CheckSameResults(our_results, sqlite_results);
    CheckSameResults(our_results, reference_results);

    utsname machine{};
    ::uname(&machine);
    std::printf("Files in %s (%s %s), scale 1/%lld, up %lld\n", options.folder.c_str(), machine.sysname,
                machine.release, static_cast<long long>(options.scale), static_cast<long long>(options.up));
    PrintSettings(ours);
    PrintSettings(sqlite);
    PrintSettings(reference);
    std::printf(
        "- memory: each side runs in a child process of its own; a step's peak is the process's peak "
        "resident memory (VmHWM) from the step's start to its end, restarted before each step%s\n",
        RestartPeakMemory() ? "" : " (restart refused here: peaks since the process began)");
    std::printf("\n%s", ResultTable(our_results, sqlite_results, reference_results).c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "engine_compare: %s\n", e.what());
    return 1;
  }
  return 0;
}
