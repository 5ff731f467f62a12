// Makes the database file "dat_temple.vtr" of a new installation, with every
// table and the starting rows, in the folder given (default: the current
// folder). An existing file is left as it is and the tool fails.
// Usage: create_temple_database [FOLDER]
#include <cstdio>
#include <filesystem>

#include "app/core/CreateTempleDatabase.h"
#include "engine/access/EngineRuntime.h"
#include "engine/access/ErrorMessage.h"
#include "engine/access/HeadlessUi.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fprintf(stderr, "usage: %s [FOLDER]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argc > 1 ? argv[1] : ".";
  TVTRHeadlessUi ui;
  try {
    TVTREngineRuntime runtime(ui);
    const std::filesystem::path file = CreateTempleDatabase(folder);
    std::printf("Created %s\n", file.c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", ExceptionMessageUtf8(error).c_str());
    return 1;
  }
  return 0;
}
