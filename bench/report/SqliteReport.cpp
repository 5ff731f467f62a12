#include "bench/report/SqliteReport.h"

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

struct Finalize {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

// The date-time as SQLite compares it: ISO text.
std::string IsoDateTime(const DonateRow& row) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", row.year, row.month, row.day,
                row.second_of_day / 3600, row.second_of_day / 60 % 60, row.second_of_day % 60);
  return text;
}

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
  sqlite3_bind_text(statement, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void StepDone(sqlite3_stmt* statement) {
  if (sqlite3_step(statement) != SQLITE_DONE) throw std::runtime_error("SQLite insert failed");
  sqlite3_reset(statement);
}

int64_t TextBytes(sqlite3_stmt* statement, int column) {
  sqlite3_column_text(statement, column);
  return sqlite3_column_bytes(statement, column);
}

}  // namespace

SqliteReport::~SqliteReport() {
  Close();
}

void SqliteReport::Execute(const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    throw std::runtime_error(std::string(sql) + ": " + message);
  }
}

sqlite3_stmt* SqliteReport::Prepare(const char* sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK)
    throw std::runtime_error(std::string(sql) + ": " + sqlite3_errmsg(db_));
  return statement;
}

void SqliteReport::Load(const std::string& folder, const ReportSizes& sizes) {
  const std::string file = folder + "/report.sqlite";
  if (sqlite3_open(file.c_str(), &db_) != SQLITE_OK) throw std::runtime_error("cannot open " + file);
  Execute("PRAGMA page_size=4096");
  Execute("PRAGMA cache_size=-4000");
  Execute("PRAGMA journal_mode=DELETE");
  Execute("PRAGMA locking_mode=EXCLUSIVE");
  Execute("CREATE TABLE customer (cust_no VARCHAR(10), cust_name VARCHAR(40))");
  Execute("CREATE TABLE donate (bill_no VARCHAR(12), bill_date TIMESTAMP, cust_no VARCHAR(10), total REAL)");
  Execute("BEGIN");
  {
    const Statement insert(Prepare("INSERT INTO customer VALUES (?, ?)"));
    for (int64_t n = 1; n <= sizes.donors; ++n) {
      const CustomerRow row = MakeCustomer(n, sizes);
      BindText(insert.get(), 1, row.cust_no);
      BindText(insert.get(), 2, row.cust_name);
      StepDone(insert.get());
    }
  }
  {
    const Statement insert(Prepare("INSERT INTO donate VALUES (?, ?, ?, ?)"));
    for (int64_t n = 1; n <= sizes.lines; ++n) {
      const DonateRow row = MakeDonate(n, sizes);
      BindText(insert.get(), 1, row.bill_no);
      BindText(insert.get(), 2, IsoDateTime(row));
      BindText(insert.get(), 3, row.cust_no);
      sqlite3_bind_double(insert.get(), 4, row.total);
      StepDone(insert.get());
    }
  }
  Execute("COMMIT");
  Execute("CREATE UNIQUE INDEX customer_no ON customer (cust_no)");
  Execute("CREATE UNIQUE INDEX donate_no ON donate (bill_no)");
  Execute("CREATE INDEX donate_date ON donate (bill_date)");
  Execute("CREATE INDEX donate_cust ON donate (cust_no)");
  Execute("ANALYZE");
}

ReportSum SqliteReport::Report() {
  const Statement query(Prepare(kReportQuery));
  sqlite3_bind_text(query.get(), sqlite3_bind_parameter_index(query.get(), ":mBegin"), "2024-01-01 00:00:00", -1,
                    SQLITE_STATIC);
  sqlite3_bind_text(query.get(), sqlite3_bind_parameter_index(query.get(), ":mEnd"), "2024-12-31 23:59:59", -1,
                    SQLITE_STATIC);
  ReportSum sum;
  while (sqlite3_step(query.get()) == SQLITE_ROW) {
    ++sum.rows;
    sum.text_bytes += TextBytes(query.get(), 0);
    sum.counts += sqlite3_column_int64(query.get(), 1);
    sum.amounts += sqlite3_column_double(query.get(), 2);
  }
  return sum;
}

ReportSum SqliteReport::InSubquery() {
  const Statement query(Prepare(kInQuery));
  ReportSum sum;
  while (sqlite3_step(query.get()) == SQLITE_ROW) {
    ++sum.rows;
    sum.text_bytes += TextBytes(query.get(), 0);
    sum.amounts += sqlite3_column_double(query.get(), 1);
  }
  return sum;
}

void SqliteReport::Close() {
  if (db_) sqlite3_close(db_);
  db_ = nullptr;
}
