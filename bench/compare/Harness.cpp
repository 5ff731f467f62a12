#include "bench/compare/Harness.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "bench/compare/PeakMemory.h"

namespace {

std::string Thousands(int64_t value) {
  std::string digits = std::to_string(value);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<size_t>(i), ",");
  return digits;
}

enum class Commits : bool { kNo, kYes };

StepResult Timed(std::string work, Commits commits, const std::function<Checksum()>& step) {
  RestartPeakMemory();
  const auto start = std::chrono::steady_clock::now();
  StepResult result;
  result.checksum = step();
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.peak_kib = PeakMemoryKiB();
  result.work = std::move(work);
  result.commits = commits == Commits::kYes;
  return result;
}

}  // namespace

std::vector<StepResult> RunSteps(BenchEngine& engine, const WorkloadSizes& sizes, const std::string& folder) {
  const std::string own_folder = folder + "/" + engine.Name();
  std::filesystem::create_directories(own_folder);
  engine.Create(own_folder);
  const std::vector<int32_t> ids = LookupOrder(sizes.bulk_rows, sizes.lookups);
  const int32_t single = static_cast<int32_t>(sizes.single_commits);
  const auto nothing_read = [](const std::function<void()>& write) {
    return [write] {
      write();
      return Checksum{};
    };
  };
  std::vector<StepResult> results;
  results.push_back(Timed(Thousands(sizes.bulk_rows) + " inserts (10 fields, 2 indexes), one transaction",
                          Commits::kYes, nothing_read([&] { engine.BulkInsert(sizes.bulk_rows); })));
  results.push_back(Timed(Thousands(sizes.lookups) + " point look-ups by the unique index", Commits::kNo,
                          [&] { return engine.LookUp(ids); }));
  results.push_back(Timed("full scan of " + Thousands(sizes.bulk_rows) + " rows in storage order",
                          Commits::kNo, [&] { return engine.Scan(); }));
  const std::string blob_size = std::to_string(sizes.blob_bytes / 1024) + " KB";
  results.push_back(
      Timed(Thousands(sizes.blobs) + " BLOB values of " + blob_size + " written, one transaction",
            Commits::kYes, nothing_read([&] { engine.WriteBlobs(sizes.blobs, sizes.blob_bytes); })));
  results.push_back(Timed(Thousands(sizes.blobs) + " BLOB values of " + blob_size + " read back",
                          Commits::kNo, [&] { return engine.ReadBlobs(sizes.blobs, sizes.blob_bytes); }));
  results.push_back(
      Timed(Thousands(sizes.single_commits) + " inserts, each committed with a flush, multi-user",
            Commits::kYes, nothing_read([&] { engine.SingleCommits(1, sizes.single_commits, true); })));
  results.push_back(Timed(
      Thousands(sizes.single_commits) + " inserts, each committed without a flush, multi-user", Commits::kYes,
      nothing_read([&] { engine.SingleCommits(single + 1, sizes.single_commits, false); })));
  engine.CreateReportData(sizes.donors, sizes.donation_lines);
  results.push_back(Timed("donation report over a year: " + Thousands(sizes.donation_lines) +
                              " lines joined with " + Thousands(sizes.donors) + " donors, by date",
                          Commits::kNo,
                          [&] { return engine.DonationReport(kReportFirstDay, kReportLastDay); }));
  const std::vector<std::string> donors = DonorLookupOrder(sizes.donors, sizes.donor_lookups);
  results.push_back(Timed(Thousands(sizes.donor_lookups) + " donor look-ups, each statement prepared anew",
                          Commits::kNo, [&] { return engine.DonorLookUps(donors); }));
  results.push_back(Timed(
      Thousands(sizes.donation_lines) + " donation lines by SQL INSERT with 23 parameters, one transaction",
      Commits::kYes, nothing_read([&] { engine.InsertDonationLines(own_folder, sizes.donation_lines); })));
  const std::vector<int32_t> bill_ids = LookupOrder(sizes.donation_lines, sizes.line_updates);
  results.push_back(Timed(
      Thousands(sizes.line_updates) + " SQL UPDATEs of a donation line by its indexed bill_id", Commits::kYes,
      [&] { return engine.UpdateDonationLines(bill_ids, static_cast<int32_t>(sizes.donation_lines)); }));
  engine.Close();
  return results;
}

void CheckSameResults(const std::vector<StepResult>& ours, const std::vector<StepResult>& theirs) {
  for (size_t i = 0; i < ours.size(); ++i) {
    if (!(ours[i].checksum == theirs[i].checksum))
      throw std::runtime_error("the engines read different results in: " + ours[i].work);
  }
}

namespace {

std::string MiB(int64_t kib) {
  char text[32];
  if (kib <= 0) return "?";
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(kib) / 1024);
  return text;
}

std::string Row(const std::string& work, const StepResult& ours, const StepResult& theirs) {
  char times[96];
  std::snprintf(times, sizeof times, " | %.3f | %.3f | %.2f | ", ours.seconds, theirs.seconds,
                theirs.seconds > 0 ? ours.seconds / theirs.seconds : 0.0);
  return "| " + work + times + MiB(ours.peak_kib) + " | " + MiB(theirs.peak_kib) + " |\n";
}

int64_t SidePeak(const std::vector<StepResult>& results) {
  int64_t peak = 0;
  for (const StepResult& result : results) peak = std::max(peak, result.peak_kib);
  return peak;
}

}  // namespace

std::string ResultTable(const std::vector<StepResult>& ours, const std::vector<StepResult>& theirs,
                        const std::vector<StepResult>& reference) {
  std::string table =
      "| work | ours (s) | SQLite (s) | ours ÷ SQLite | ours peak (MiB) | SQLite peak (MiB) |\n"
      "|---|---:|---:|---:|---:|---:|\n";
  for (size_t i = 0; i < ours.size(); ++i) {
    table += Row(ours[i].work, ours[i], theirs[i]);
    if (ours[i].commits)
      table += Row("reference, not a goal: the step above against SQLite with journal_mode=OFF", ours[i],
                   reference[i]);
  }
  table += "\nPeak memory of a side (MiB, the largest of its steps' peaks): ours " + MiB(SidePeak(ours)) +
           ", SQLite " + MiB(SidePeak(theirs)) + ", SQLite with journal_mode=OFF " +
           MiB(SidePeak(reference)) + "\n";
  return table;
}
