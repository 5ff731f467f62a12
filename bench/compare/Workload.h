#pragma once
// The work both engines run: the same rows, the same order of operations,
// and a checksum of what each one read back, so that the times compare the
// same results.
#include <cstdint>
#include <string>
#include <vector>

struct WorkloadSizes {
  int64_t bulk_rows = 100'000;      // inserted in one transaction
  int64_t single_commits = 10'000;  // inserted one commit each, multi-user
  int64_t lookups = 100'000;        // point look-ups through the unique index
  int64_t blobs = 1'000;            // BLOB values written and read back
  int32_t blob_bytes = 100 * 1024;  // size of each BLOB value
  int64_t donors = 10'000;           // rows of "customer" for the SQL work
  int64_t donation_lines = 100'000;  // rows of "donate" for the report; lines inserted by SQL
  int64_t donor_lookups = 10'000;    // SELECTs of one donor, each prepared anew
  int64_t line_updates = 1'000;      // SQL UPDATEs by the indexed bill_id

  // Every count divided by `divisor` (at least 1 each); the BLOB size stays.
  WorkloadSizes Scaled(int64_t divisor) const;
  // Every count multiplied by `factor`; the BLOB size stays.
  WorkloadSizes Multiplied(int64_t factor) const;

 private:
  template <typename Change>
  WorkloadSizes EachCount(Change change) const;
};

// One record of ten fields. Text fields hold ASCII, which code page 874 keeps as is.
struct DonationRow {
  int32_t id = 0;
  std::string donor;  // up to 40 characters, indexed
  double amount = 0;
  int32_t donated_on = 0;  // day number, day 1 = 0001-01-01
  int32_t receipt = 0;
  std::string category;  // up to 20 characters
  int16_t quantity = 0;
  std::string note;  // up to 60 characters
  bool verified = false;
  int64_t reference = 0;
};

inline constexpr int32_t kDonorChars = 40;
inline constexpr int32_t kCategoryChars = 20;
inline constexpr int32_t kNoteChars = 60;

// The row with ID `id` (from 1): the same on every call. Donor names are
// scattered, so the second index takes its keys out of order.
DonationRow MakeRow(int32_t id);

// What a reader saw: the number of rows and the sums of two fields, equal
// on both engines when they did the same work.
struct Checksum {
  int64_t rows = 0;
  double amounts = 0;
  int64_t text_bytes = 0;

  void Add(double amount, int64_t text_length) {
    ++rows;
    amounts += amount;
    text_bytes += text_length;
  }
  bool operator==(const Checksum& other) const;
};

// The values of one donation line as the donation window binds them to the
// parameters of its INSERT and UPDATE texts. The other parameters are empty
// texts or zero, as the window sets them.
struct DonationLine {
  std::string bill_no;         // up to 11 characters
  double bill_date = 0;        // a TDateTime
  std::string cust_no;         // up to 20
  std::string accessory_no;    // up to 15
  std::string accessory_name;  // up to 80
  std::string unit_name;       // up to 10
  double qty = 0;
  double price = 0;
  double total = 0;
  std::string sale_no;  // up to 5
};

// The line numbered n (from 1): the same on every call.
DonationLine MakeLine(int32_t n);

// The IDs 1..rows in a fixed scattered order, `count` of them (repeating
// the order when count exceeds rows).
std::vector<int32_t> LookupOrder(int64_t rows, int64_t count);

// The content of BLOB number `n`: bytes from a fixed generator, which no
// compressor can shrink, so both engines store the full size.
void FillBlob(int64_t n, std::vector<uint8_t>& bytes);

// ---- The SQL work: the donor register and the donation lines of the
// donation program, and its donation report over one year.

struct CustomerRow {
  std::string cust_no;  // "C" and 7 digits, from C0000001
  std::string cust_name;
  std::string cust_birth;
  std::string cust_tel;
};

struct DonateLine {
  std::string bill_no;
  int32_t bill_date = 0;  // day number, day 1 = 0001-01-01
  std::string cust_no;    // one line in a hundred names a donor not in the register
  std::string accessory_no;
  std::string accessory_name;
  double qty = 0;
  double price = 0;
  double total = 0;
};

// The lines are dated over 2023 and 2024; the report covers 2024.
inline constexpr int32_t kFirstLineDay = 738'521;    // 2023-01-01
inline constexpr int32_t kReportFirstDay = 738'886;  // 2024-01-01
inline constexpr int32_t kReportLastDay = 739'251;   // 2024-12-31

CustomerRow MakeCustomer(int32_t n);
// Line `n` (from 1) of a register of `donors` donors.
DonateLine MakeLine(int32_t n, int64_t donors);
// The donor numbers of `count` look-ups in a scattered order.
std::vector<std::string> DonorLookupOrder(int64_t donors, int64_t count);
