#pragma once
// SQLite through its C interface, with prepared statements and the settings
// chosen to match ours (Settings() prints them). Its indexed text columns
// collate through our engine's collation of code page 874 text, so that both
// engines compare keys the same way.
#include <sqlite3.h>

#include "bench/compare/BenchEngine.h"

// How SQLite keeps its commits atomic: with its rollback journal, the nearest
// to our commit, or without a journal (a reference only: a crash during a
// commit can leave such a file damaged).
enum class SqliteJournal { kDelete, kOff };

class SqliteEngine : public BenchEngine {
 public:
  explicit SqliteEngine(SqliteJournal journal) : journal_(journal) {}
  ~SqliteEngine() override;

  std::string Name() const override {
    return journal_ == SqliteJournal::kDelete ? "SQLite" : "SQLite journal_mode=OFF";
  }
  std::vector<std::string> Settings() const override;
  void Create(const std::string& folder) override;
  void BulkInsert(int64_t rows) override;
  Checksum LookUp(const std::vector<int32_t>& ids) override;
  Checksum Scan() override;
  void WriteBlobs(int64_t count, int32_t bytes) override;
  Checksum ReadBlobs(int64_t count, int32_t bytes) override;
  void SingleCommits(int32_t first_id, int64_t count, bool flushed) override;
  void CreateReportData(int64_t donors, int64_t lines) override;
  Checksum DonationReport(int32_t first_day, int32_t last_day) override;
  Checksum DonorLookUps(const std::vector<std::string>& numbers) override;
  // The window's texts as they are, bound by parameter name.
  void InsertDonationLines(const std::string& folder, int64_t count) override;
  Checksum UpdateDonationLines(const std::vector<int32_t>& bill_ids, int32_t offset) override;
  void Close() override;

 private:
  void Open(bool exclusive);
  void Execute(const char* sql);
  sqlite3_stmt* Prepare(const char* sql);
  void Step(sqlite3_stmt* statement, int expected);
  void InsertRow(sqlite3_stmt* insert, const DonationRow& row);

  const SqliteJournal journal_;
  std::string file_;
  sqlite3* db_ = nullptr;
  bool multi_user_ = false;
};
