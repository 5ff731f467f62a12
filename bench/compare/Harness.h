#pragma once
// Runs the steps of BenchEngine on one engine, timing each, and prints the
// table of two engines' times side by side.
#include <memory>
#include <string>
#include <vector>

#include "bench/compare/BenchEngine.h"
#include "bench/compare/Workload.h"

struct StepResult {
  std::string work;  // what the step does, with its counts
  double seconds = 0;
  Checksum checksum;  // what it read, for steps that read
};

// Runs every step on a fresh database in its own folder below `folder`.
std::vector<StepResult> RunSteps(BenchEngine& engine, const WorkloadSizes& sizes, const std::string& folder);

// Raises when the two runs read different results.
void CheckSameResults(const std::vector<StepResult>& ours, const std::vector<StepResult>& theirs);

// A Markdown table: work, our time, their time, ours ÷ theirs.
std::string ResultTable(const std::vector<StepResult>& ours, const std::vector<StepResult>& theirs);
