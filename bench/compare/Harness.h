#pragma once
// Runs the steps of BenchEngine on one engine, timing each and measuring its
// peak memory, and prints the table of the engines' results side by side.
#include <memory>
#include <string>
#include <vector>

#include "bench/compare/BenchEngine.h"
#include "bench/compare/Workload.h"

struct StepResult {
  std::string work;  // what the step does, with its counts
  double seconds = 0;
  Checksum checksum;     // what it read, for steps that read
  bool commits = false;  // a step that writes and commits, which the reference row repeats
  int64_t peak_kib = 0;  // the process's peak resident memory during the step (0: unknown)
};

// Runs every step on a fresh database in its own folder below `folder`.
std::vector<StepResult> RunSteps(BenchEngine& engine, const WorkloadSizes& sizes, const std::string& folder);

// Raises when the two runs read different results.
void CheckSameResults(const std::vector<StepResult>& ours, const std::vector<StepResult>& theirs);

// A Markdown table: work, our time, their time, ours ÷ theirs and each
// side's peak memory during the step; after each step that commits, a row
// marked as reference compares ours with `reference` (the same steps run by
// SQLite without a rollback journal). Then the peak memory of each side.
std::string ResultTable(const std::vector<StepResult>& ours, const std::vector<StepResult>& theirs,
                        const std::vector<StepResult>& reference);
