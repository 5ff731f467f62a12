#pragma once
// The program-wide variables and, beside them, the working folder.
#include "app/core/ProgramVariables.h"
#include "app/core/WorkingFolder.h"
