#pragma once
// SQLite through its C interface, with prepared statements and the settings
// chosen to match ours (Settings() prints them).
#include <sqlite3.h>

#include "bench/compare/BenchEngine.h"

class SqliteEngine : public BenchEngine {
 public:
  ~SqliteEngine() override;

  std::string Name() const override { return "SQLite"; }
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
  void Close() override;

 private:
  void Open(bool exclusive);
  void Execute(const char* sql);
  sqlite3_stmt* Prepare(const char* sql);
  void Step(sqlite3_stmt* statement, int expected);
  void InsertRow(sqlite3_stmt* insert, const DonationRow& row);

  std::string file_;
  sqlite3* db_ = nullptr;
  bool multi_user_ = false;
};
