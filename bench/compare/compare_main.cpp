// Runs the same work on our engine (through the local session and cursor)
// and on SQLite, and prints each step's time and the ratio ours ÷ SQLite,
// with the settings of both.
//   engine_compare [--scale=N] [--folder=DIR]
// --scale divides every count by N (quick trial runs); --folder is where the
// database files go (default $TMPDIR or /tmp); they are removed afterwards.
#include <stdlib.h>
#include <sys/utsname.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "bench/BenchFolder.h"
#include "bench/compare/Harness.h"
#include "bench/compare/SqliteEngine.h"
#include "bench/compare/VtrEngine.h"

namespace {

struct Options {
  int64_t scale = 1;
  std::string folder;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  options.folder = BenchFolder::DefaultBase();
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--scale=", 8) == 0) {
      options.scale = std::max<int64_t>(1, std::atoll(argv[i] + 8));
    } else if (std::strncmp(argv[i], "--folder=", 9) == 0) {
      options.folder = argv[i] + 9;
    } else {
      std::fprintf(stderr, "usage: %s [--scale=N] [--folder=DIR]\n", argv[0]);
      std::exit(2);
    }
  }
  return options;
}

void PrintSettings(const BenchEngine& engine) {
  for (const std::string& line : engine.Settings())
    std::printf("- %s: %s\n", engine.Name().c_str(), line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
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
