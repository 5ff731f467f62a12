#include "app/core/ProgramVariables.h"

ProgramVariables myVar;

void ResetProgramVariables() {
  myVar = ProgramVariables{};
}
