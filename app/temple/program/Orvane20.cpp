// Orvane20, the temple program: usage of halls, buildings and land. Its
// working folder is the current folder, which holds "dat_temple.vtr".
#include "app/core/RunProgram.h"
#include "app/temple/MAIN_HOTEL.h"

int main(int argc, char** argv) {
  return RunProgram(argc, argv, "Orvane20", [] { StartTempleProgram(); });
}
