#pragma once
// One engine under measurement. The harness calls the steps in this order:
// Create, BulkInsert, LookUp, Scan, WriteBlobs, ReadBlobs, then
// SingleCommits (flushed, then not), CreateReportData, DonationReport,
// DonorLookUps, then Close. Each step does all its work
// before it returns, so the harness can time it from outside.
#include <cstdint>
#include <string>
#include <vector>

#include "bench/compare/Workload.h"

class BenchEngine {
 public:
  virtual ~BenchEngine() = default;

  virtual std::string Name() const = 0;
  // The settings that decide durability, locking and caching, one per line.
  virtual std::vector<std::string> Settings() const = 0;

  // A new database in the folder with the tables "Donation" and "Ledger"
  // (the ten-field row, a unique index on ID and an index on Donor) and
  // "Picture" (ID and a BLOB), opened by one single-user connection.
  virtual void Create(const std::string& folder) = 0;
  // Rows 1..rows into "Donation" in one transaction, committed with a flush.
  virtual void BulkInsert(int64_t rows) = 0;
  // Each ID found through the unique index, every field read.
  virtual Checksum LookUp(const std::vector<int32_t>& ids) = 0;
  // Every row of "Donation" in storage order, every field read.
  virtual Checksum Scan() = 0;
  // `count` values of FillBlob into "Picture" in one transaction, committed with a flush.
  virtual void WriteBlobs(int64_t count, int32_t bytes) = 0;
  // Every value read back whole and compared with FillBlob; a difference raises.
  virtual Checksum ReadBlobs(int64_t count, int32_t bytes) = 0;
  // Reconnects multi-user on the first call; then rows first_id.. into
  // "Ledger", each committed on its own, flushed or not.
  virtual void SingleCommits(int32_t first_id, int64_t count, bool flushed) = 0;

  // ---- The SQL work, multi-user like the programs: ours through the query
  // component, SQLite through its SQL.
  // "customer" (unique index on cust_no) and "donate" (indexes on bill_date
  // and cust_no) filled with MakeCustomer and MakeLine in one transaction
  // committed with a flush.
  virtual void CreateReportData(int64_t donors, int64_t lines) = 0;
  // The donation report: the lines dated first_day..last_day whose donor is
  // in the register, with the donor's name and birthday, in bill_date order;
  // every field of every row read.
  virtual Checksum DonationReport(int32_t first_day, int32_t last_day) = 0;
  // "select * from customer where cust_no = :mcust_no" for each number,
  // prepared and run anew each time as a window does; every field read.
  virtual Checksum DonorLookUps(const std::vector<std::string>& numbers) = 0;
  virtual void Close() = 0;
};
