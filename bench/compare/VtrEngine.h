#pragma once
// Our engine through the local session and local cursor, driven the way the
// dataset components drive them: one record buffer per cursor, field values
// set and read through the cursor's field access, results checked.
#include <memory>
#include <string>
#include <vector>

#include "bench/compare/BenchEngine.h"
#include "engine/access/VTRLocalEngine.h"

class VtrEngine : public BenchEngine {
 public:
  VtrEngine();
  ~VtrEngine() override;

  std::string Name() const override { return "ours"; }
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

  // A cursor on one table with the buffers a dataset gives it.
  class Table;
  // The components of the SQL work (VtrEngineSql.cpp).
  class SqlSide;

 private:
  // A session on file_, not yet connected.
  void NewSession(bool multi_user);
  void Disconnect();

  std::string file_;
  std::unique_ptr<TVTRLocalSession> session_;
  std::unique_ptr<Table> donation_;
  std::unique_ptr<SqlSide> sql_;
  bool multi_user_ = false;
};
