#pragma once
// SQLite through its C interface, each query prepared and run as ours is.
#include <sqlite3.h>

#include "bench/report/ReportWork.h"

class SqliteReport : public ReportEngine {
 public:
  ~SqliteReport() override;

  std::string Name() const override { return "SQLite"; }
  void Load(const std::string& folder, const ReportSizes& sizes) override;
  ReportSum Report() override;
  ReportSum InSubquery() override;
  void Close() override;

 private:
  void Execute(const char* sql);
  sqlite3_stmt* Prepare(const char* sql);

  sqlite3* db_ = nullptr;
};
