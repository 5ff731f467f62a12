#pragma once
// The report work both engines run: the donation report query of the
// donation program (a join of donate and customer, a period, grouping by
// donor name, ordered by amount) and an IN against an uncorrelated subquery,
// over the same rows and the same indexes, with a checksum of what each
// engine read.
#include <cstdint>
#include <string>

struct ReportSizes {
  int64_t donors = 10'000;
  int64_t lines = 100'000;
  ReportSizes Scaled(int64_t divisor) const;
};

struct CustomerRow {
  std::string cust_no;    // "C" and five digits, unique
  std::string cust_name;  // shared by about two donors each
};

struct DonateRow {
  std::string bill_no;  // unique
  int32_t year = 0, month = 0, day = 0, second_of_day = 0;  // bill_date, all in 2024
  std::string cust_no;
  double total = 0;
};

// The same rows on every call.
CustomerRow MakeCustomer(int64_t n, const ReportSizes& sizes);  // n from 1
DonateRow MakeDonate(int64_t n, const ReportSizes& sizes);      // n from 1

// The report query with its period :mBegin .. :mEnd (the whole of 2024).
inline constexpr const char* kReportQuery =
    "select customer.cust_name, count(*) as n, sum(donate.total) as amount from donate, customer "
    "where donate.cust_no = customer.cust_no and (donate.bill_date between :mBegin and :mEnd) "
    "group by customer.cust_name order by amount desc";
// The lines of the donors whose names sort before the bound.
inline constexpr const char* kInQuery =
    "select bill_no, total from donate where cust_no in "
    "(select cust_no from customer where cust_name < 'Name1000')";

// What a reader saw: rows, the sum of the amounts (or totals), the sum of
// the counts and the bytes of text read.
struct ReportSum {
  int64_t rows = 0;
  double amounts = 0;
  int64_t counts = 0;
  int64_t text_bytes = 0;
  bool operator==(const ReportSum& other) const;
};

class ReportEngine {
 public:
  virtual ~ReportEngine() = default;
  virtual std::string Name() const = 0;
  // A new database in the folder with both tables, their rows and indexes.
  virtual void Load(const std::string& folder, const ReportSizes& sizes) = 0;
  // Each runs its query from preparing it to reading its last row.
  virtual ReportSum Report() = 0;
  virtual ReportSum InSubquery() = 0;
  virtual void Close() = 0;
};
