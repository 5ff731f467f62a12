#pragma once
// Runs one engine's steps in a child process of its own, so that the memory
// measured for a side is that side's alone: the child starts from the small
// parent (no database work done yet) and ends when its steps are done.
#include <string>
#include <vector>

#include "bench/compare/Harness.h"

// RunSteps in a child process; its results come back through a pipe. Raises
// when the child fails (its error is on standard error).
std::vector<StepResult> RunStepsApart(BenchEngine& engine, const WorkloadSizes& sizes,
                                      const std::string& folder);
