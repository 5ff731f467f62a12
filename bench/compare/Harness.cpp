#include "bench/compare/Harness.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>

namespace {

std::string Thousands(int64_t value) {
  std::string digits = std::to_string(value);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<size_t>(i), ",");
  return digits;
}

StepResult Timed(std::string work, const std::function<Checksum()>& step) {
  const auto start = std::chrono::steady_clock::now();
  StepResult result;
  result.checksum = step();
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.work = std::move(work);
  return result;
}

}  // namespace

std::vector<StepResult> RunSteps(BenchEngine& engine, const WorkloadSizes& sizes, const std::string& folder) {
  const std::string own_folder = folder + "/" + engine.Name();
  std::filesystem::create_directories(own_folder);
  engine.Create(own_folder);
  const std::vector<int32_t> ids = LookupOrder(sizes.bulk_rows, sizes.lookups);
  const int32_t single = static_cast<int32_t>(sizes.single_commits);
  std::vector<StepResult> results;
  results.push_back(
      Timed(Thousands(sizes.bulk_rows) + " inserts (10 fields, 2 indexes), one transaction", [&] {
        engine.BulkInsert(sizes.bulk_rows);
        return Checksum{};
      }));
  results.push_back(Timed(Thousands(sizes.lookups) + " point look-ups by the unique index",
                          [&] { return engine.LookUp(ids); }));
  results.push_back(Timed("full scan of " + Thousands(sizes.bulk_rows) + " rows in storage order",
                          [&] { return engine.Scan(); }));
  const std::string blob_size = std::to_string(sizes.blob_bytes / 1024) + " KB";
  results.push_back(
      Timed(Thousands(sizes.blobs) + " BLOB values of " + blob_size + " written, one transaction", [&] {
        engine.WriteBlobs(sizes.blobs, sizes.blob_bytes);
        return Checksum{};
      }));
  results.push_back(Timed(Thousands(sizes.blobs) + " BLOB values of " + blob_size + " read back",
                          [&] { return engine.ReadBlobs(sizes.blobs, sizes.blob_bytes); }));
  results.push_back(
      Timed(Thousands(sizes.single_commits) + " inserts, each committed with a flush, multi-user", [&] {
        engine.SingleCommits(1, sizes.single_commits, true);
        return Checksum{};
      }));
  results.push_back(
      Timed(Thousands(sizes.single_commits) + " inserts, each committed without a flush, multi-user", [&] {
        engine.SingleCommits(single + 1, sizes.single_commits, false);
        return Checksum{};
      }));
  engine.CreateReportData(sizes.donors, sizes.donation_lines);
  results.push_back(Timed("donation report over a year: " + Thousands(sizes.donation_lines) +
                              " lines joined with " + Thousands(sizes.donors) + " donors, by date",
                          [&] { return engine.DonationReport(kReportFirstDay, kReportLastDay); }));
  const std::vector<std::string> donors = DonorLookupOrder(sizes.donors, sizes.donor_lookups);
  results.push_back(Timed(Thousands(sizes.donor_lookups) + " donor look-ups, each statement prepared anew",
                          [&] { return engine.DonorLookUps(donors); }));
  engine.Close();
  return results;
}

void CheckSameResults(const std::vector<StepResult>& ours, const std::vector<StepResult>& theirs) {
  for (size_t i = 0; i < ours.size(); ++i) {
    if (!(ours[i].checksum == theirs[i].checksum))
      throw std::runtime_error("the engines read different results in: " + ours[i].work);
  }
}

std::string ResultTable(const std::vector<StepResult>& ours, const std::vector<StepResult>& theirs) {
  std::string table = "| work | ours (s) | SQLite (s) | ours ÷ SQLite |\n|---|---:|---:|---:|\n";
  char line[256];
  for (size_t i = 0; i < ours.size(); ++i) {
    std::snprintf(line, sizeof line, "| %s | %.3f | %.3f | %.2f |\n", ours[i].work.c_str(), ours[i].seconds,
                  theirs[i].seconds, theirs[i].seconds > 0 ? ours[i].seconds / theirs[i].seconds : 0.0);
    table += line;
  }
  return table;
}
