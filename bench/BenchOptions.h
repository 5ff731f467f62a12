#pragma once
// The command line of the benchmark programs: --scale=N divides the counts
// by N, --folder=DIR is where the scratch folder goes and, for the programs
// that take them, --repeat=N runs each step N times and --up=N multiplies
// the counts by N.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/BenchFolder.h"

struct BenchOptions {
  int64_t scale = 1;
  std::string folder = BenchFolder::DefaultBase();
  int repeat = 1;
  int64_t up = 1;
};

// The options a program takes besides --scale and --folder.
enum BenchExtraOption : unsigned { kNoExtraOption = 0, kTakesRepeat = 1, kTakesUp = 2 };

// Anything else prints the usage and ends the program.
inline BenchOptions ParseBenchOptions(int argc, char** argv, BenchOptions options, unsigned extras) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--scale=", 8) == 0) {
      options.scale = std::max<int64_t>(1, std::atoll(argv[i] + 8));
    } else if (std::strncmp(argv[i], "--folder=", 9) == 0) {
      options.folder = argv[i] + 9;
    } else if ((extras & kTakesRepeat) && std::strncmp(argv[i], "--repeat=", 9) == 0) {
      options.repeat = std::max(1, std::atoi(argv[i] + 9));
    } else if ((extras & kTakesUp) && std::strncmp(argv[i], "--up=", 5) == 0) {
      options.up = std::max<int64_t>(1, std::atoll(argv[i] + 5));
    } else {
      std::fprintf(stderr, "usage: %s [--scale=N] [--folder=DIR]%s%s\n", argv[0],
                   (extras & kTakesRepeat) ? " [--repeat=N]" : "", (extras & kTakesUp) ? " [--up=N]" : "");
      std::exit(2);
    }
  }
  return options;
}
