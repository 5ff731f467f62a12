// Belcrest20, the donation and sales program. Its working folder is the
// current folder, which holds "dat_temple.vtr".
#include "app/core/RunProgram.h"
#include "app/donation/MAIN_2.h"

int main(int argc, char** argv) {
  return RunProgram(argc, argv, "Belcrest20", [] { StartDonationProgram(); });
}
