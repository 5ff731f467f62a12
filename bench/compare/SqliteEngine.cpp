#include "bench/compare/SqliteEngine.h"

#include <cstring>
#include <memory>
#include <stdexcept>

#include "platform/rtl/Collation.h"
#include "tests/engine/sql/dml/DonationLineStatements.h"

namespace {

struct Finalize {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

// Pages of the same size as ours, and a cache of the same number of pages
// as our page cache holds at most (1000 pages of 4 KiB).
constexpr const char* kPageSize = "PRAGMA page_size=4096";
constexpr const char* kCacheSize = "PRAGMA cache_size=-4000";

// Our engine's collation of text keys, on the same bytes (the texts are ASCII,
// which code page 874 keeps as is).
int CollateLikeOurs(void*, int size_a, const void* a, int size_b, const void* b) {
  return CollateText({static_cast<const char*>(a), static_cast<size_t>(size_a)},
                     {static_cast<const char*>(b), static_cast<size_t>(size_b)}, false);
}

constexpr const char* kRowColumns =
    "(ID INTEGER NOT NULL, DONOR VARCHAR(40) COLLATE THAI, AMOUNT DOUBLE, DONATED_ON INTEGER, RECEIPT INTEGER, "
    "CATEGORY VARCHAR(20), QUANTITY SMALLINT, NOTE VARCHAR(60), VERIFIED BOOLEAN, REFERENCE BIGINT)";

std::string Text(sqlite3_stmt* statement, int column) {
  const unsigned char* text = sqlite3_column_text(statement, column);
  return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

// Reads every column of a row, as a program showing it would.
void ReadRow(sqlite3_stmt* statement, Checksum& sum) {
  DonationRow row;
  row.id = sqlite3_column_int(statement, 0);
  row.donor = Text(statement, 1);
  row.amount = sqlite3_column_double(statement, 2);
  row.donated_on = sqlite3_column_int(statement, 3);
  row.receipt = sqlite3_column_int(statement, 4);
  row.category = Text(statement, 5);
  row.quantity = static_cast<int16_t>(sqlite3_column_int(statement, 6));
  row.note = Text(statement, 7);
  row.verified = sqlite3_column_int(statement, 8) != 0;
  row.reference = sqlite3_column_int64(statement, 9);
  sum.Add(row.amount, static_cast<int64_t>(row.donor.size() + row.category.size() + row.note.size()));
}

}  // namespace

SqliteEngine::~SqliteEngine() {
  if (db_) sqlite3_close(db_);
}

std::vector<std::string> SqliteEngine::Settings() const {
  if (journal_ == SqliteJournal::kOff)
    return {"the reference rows: SQLite's settings but journal_mode=OFF (no rollback journal, so a crash during "
            "a commit can damage the file); shown for comparison, not a goal"};
  return {std::string("SQLite ") + sqlite3_libversion() + ", page_size=4096, cache_size=-4000 (1000 pages)",
          "journal_mode=DELETE; synchronous=FULL for flushed commits, OFF for commits without a flush",
          "indexed text columns declared COLLATE THAI, a collation calling our engine's collation of text",
          "locking_mode=EXCLUSIVE while single-user, NORMAL for the multi-user commits and the donation lines",
          "donation lines: the window's texts prepared once, parameters re-bound by name per row"};
}

void SqliteEngine::Open(bool exclusive) {
  if (sqlite3_open(file_.c_str(), &db_) != SQLITE_OK) throw std::runtime_error("cannot open " + file_);
  if (sqlite3_create_collation_v2(db_, "THAI", SQLITE_UTF8, nullptr, CollateLikeOurs, nullptr) != SQLITE_OK)
    throw std::runtime_error(std::string("collation: ") + sqlite3_errmsg(db_));
  Execute(kPageSize);
  Execute(kCacheSize);
  Execute(journal_ == SqliteJournal::kDelete ? "PRAGMA journal_mode=DELETE" : "PRAGMA journal_mode=OFF");
  Execute("PRAGMA synchronous=FULL");
  Execute(exclusive ? "PRAGMA locking_mode=EXCLUSIVE" : "PRAGMA locking_mode=NORMAL");
}

void SqliteEngine::Create(const std::string& folder) {
  file_ = folder + "/bench.sqlite";
  Open(true);
  Execute((std::string("CREATE TABLE Donation ") + kRowColumns).c_str());
  Execute("CREATE UNIQUE INDEX DonationByID ON Donation(ID)");
  Execute("CREATE INDEX DonationByDonor ON Donation(DONOR)");
  Execute((std::string("CREATE TABLE Ledger ") + kRowColumns).c_str());
  Execute("CREATE UNIQUE INDEX LedgerByID ON Ledger(ID)");
  Execute("CREATE INDEX LedgerByDonor ON Ledger(DONOR)");
  Execute("CREATE TABLE Picture (ID INTEGER NOT NULL, DATA BLOB)");
}

void SqliteEngine::Execute(const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = std::string(sql) + ": " + (error ? error : "?");
    sqlite3_free(error);
    throw std::runtime_error(message);
  }
}

sqlite3_stmt* SqliteEngine::Prepare(const char* sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK)
    throw std::runtime_error(std::string(sql) + ": " + sqlite3_errmsg(db_));
  return statement;
}

void SqliteEngine::Step(sqlite3_stmt* statement, int expected) {
  const int result = sqlite3_step(statement);
  if (result != expected) throw std::runtime_error(std::string("step: ") + sqlite3_errmsg(db_));
}

void SqliteEngine::InsertRow(sqlite3_stmt* insert, const DonationRow& row) {
  sqlite3_bind_int(insert, 1, row.id);
  sqlite3_bind_text(insert, 2, row.donor.c_str(), static_cast<int>(row.donor.size()), SQLITE_STATIC);
  sqlite3_bind_double(insert, 3, row.amount);
  sqlite3_bind_int(insert, 4, row.donated_on);
  sqlite3_bind_int(insert, 5, row.receipt);
  sqlite3_bind_text(insert, 6, row.category.c_str(), static_cast<int>(row.category.size()), SQLITE_STATIC);
  sqlite3_bind_int(insert, 7, row.quantity);
  sqlite3_bind_text(insert, 8, row.note.c_str(), static_cast<int>(row.note.size()), SQLITE_STATIC);
  sqlite3_bind_int(insert, 9, row.verified ? 1 : 0);
  sqlite3_bind_int64(insert, 10, row.reference);
  Step(insert, SQLITE_DONE);
  sqlite3_reset(insert);
}

void SqliteEngine::BulkInsert(int64_t rows) {
  Statement insert(Prepare("INSERT INTO Donation VALUES (?,?,?,?,?,?,?,?,?,?)"));
  Execute("BEGIN");
  for (int64_t id = 1; id <= rows; ++id) InsertRow(insert.get(), MakeRow(static_cast<int32_t>(id)));
  Execute("COMMIT");
}

Checksum SqliteEngine::LookUp(const std::vector<int32_t>& ids) {
  Statement select(Prepare("SELECT * FROM Donation WHERE ID=?"));
  Checksum sum;
  for (const int32_t id : ids) {
    sqlite3_bind_int(select.get(), 1, id);
    Step(select.get(), SQLITE_ROW);
    ReadRow(select.get(), sum);
    sqlite3_reset(select.get());
  }
  return sum;
}

Checksum SqliteEngine::Scan() {
  Statement select(Prepare("SELECT * FROM Donation"));
  Checksum sum;
  int result;
  while ((result = sqlite3_step(select.get())) == SQLITE_ROW) ReadRow(select.get(), sum);
  if (result != SQLITE_DONE) throw std::runtime_error(std::string("scan: ") + sqlite3_errmsg(db_));
  return sum;
}

void SqliteEngine::WriteBlobs(int64_t count, int32_t bytes) {
  Statement insert(Prepare("INSERT INTO Picture VALUES (?,?)"));
  std::vector<uint8_t> value(static_cast<size_t>(bytes));
  Execute("BEGIN");
  for (int64_t n = 0; n < count; ++n) {
    FillBlob(n, value);
    sqlite3_bind_int64(insert.get(), 1, n);
    sqlite3_bind_blob(insert.get(), 2, value.data(), bytes, SQLITE_STATIC);
    Step(insert.get(), SQLITE_DONE);
    sqlite3_reset(insert.get());
  }
  Execute("COMMIT");
}

Checksum SqliteEngine::ReadBlobs(int64_t count, int32_t bytes) {
  Statement select(Prepare("SELECT ID, DATA FROM Picture ORDER BY ROWID"));
  std::vector<uint8_t> expected(static_cast<size_t>(bytes));
  Checksum sum;
  while (sqlite3_step(select.get()) == SQLITE_ROW) {
    const int64_t n = sqlite3_column_int64(select.get(), 0);
    const void* data = sqlite3_column_blob(select.get(), 1);
    const int size = sqlite3_column_bytes(select.get(), 1);
    FillBlob(n, expected);
    if (size != bytes || std::memcmp(data, expected.data(), expected.size()) != 0)
      throw std::runtime_error("BLOB " + std::to_string(n) + " read back different");
    sum.Add(0, size);
  }
  if (sum.rows != count) throw std::runtime_error("BLOB values missing");
  return sum;
}

void SqliteEngine::SingleCommits(int32_t first_id, int64_t count, bool flushed) {
  if (!multi_user_) {
    sqlite3_close(db_);
    db_ = nullptr;
    Open(false);
    multi_user_ = true;
  }
  Execute(flushed ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=OFF");
  Statement insert(Prepare("INSERT INTO Ledger VALUES (?,?,?,?,?,?,?,?,?,?)"));
  for (int64_t i = 0; i < count; ++i) InsertRow(insert.get(), MakeRow(first_id + static_cast<int32_t>(i)));
}

namespace {

// The donation window's statement texts with their parameters bound by
// name, the statement prepared once and re-bound per line.
std::string Joined(const auto& lines) {
  std::string text;
  for (const char* line : lines) text += line;
  return text;
}

void BindText(sqlite3_stmt* statement, const char* name, const std::string& value) {
  sqlite3_bind_text(statement, sqlite3_bind_parameter_index(statement, name), value.c_str(),
                    static_cast<int>(value.size()), SQLITE_STATIC);
}

void BindDouble(sqlite3_stmt* statement, const char* name, double value) {
  sqlite3_bind_double(statement, sqlite3_bind_parameter_index(statement, name), value);
}

void BindLine(sqlite3_stmt* statement, const DonationLine& line) {
  static const std::string empty, zero = "0", type = "D", project = "J1", project_type = "A";
  BindText(statement, ":pbill_no", line.bill_no);
  BindDouble(statement, ":pbill_date", line.bill_date);
  BindText(statement, ":pcust_no", line.cust_no);
  BindText(statement, ":paccessory_no", line.accessory_no);
  BindText(statement, ":paccessory_name", line.accessory_name);
  BindText(statement, ":paccessory_type", type);
  BindText(statement, ":paccessory_sn", empty);
  BindText(statement, ":pproj_no", project);
  BindText(statement, ":pproj_type", project_type);
  BindDouble(statement, ":pqty", line.qty);
  BindText(statement, ":punit_name", line.unit_name);
  BindDouble(statement, ":pprice", line.price);
  BindDouble(statement, ":pdisc_rate", 0);
  BindText(statement, ":ptax_status", empty);
  BindDouble(statement, ":ptax_rate", 0);
  BindText(statement, ":pwarn_term", empty);
  BindText(statement, ":pwarn_date", empty);
  BindDouble(statement, ":ptotal", line.total);
  BindText(statement, ":pp_bill", empty);
  BindText(statement, ":pfg_clear", zero);
  BindText(statement, ":pfg_end", empty);
  BindDouble(statement, ":pstk_post", 1);
  BindText(statement, ":psale_no", line.sale_no);
}

}  // namespace

void SqliteEngine::InsertDonationLines(const std::string&, int64_t count) {
  // The report's lines go first (ours writes the new lines into a file of their own).
  Execute("DROP TABLE IF EXISTS donate");
  Execute("CREATE TABLE donate (bill_id INTEGER PRIMARY KEY, bill_no VARCHAR(11), bill_date DOUBLE, "
          "cust_no VARCHAR(20), accessory_no VARCHAR(15), accessory_name VARCHAR(80), accessory_type VARCHAR(1), "
          "accessory_sn VARCHAR(80), qty DOUBLE, unit_name VARCHAR(10), price DOUBLE, disc_rate DOUBLE, "
          "tax_status VARCHAR(1), tax_rate DOUBLE, cut_stock VARCHAR(1), warn_term VARCHAR(10), "
          "warn_date VARCHAR(10), total DOUBLE, p_bill VARCHAR(11), fg_clear VARCHAR(1), fg_end VARCHAR(1), "
          "stk_post DOUBLE, proj_no VARCHAR(10), proj_type VARCHAR(3), sale_no VARCHAR(5), staff_no VARCHAR(5))");
  Execute("PRAGMA synchronous=FULL");
  Statement insert(Prepare(Joined(kAddDonationLine).c_str()));
  Execute("BEGIN");
  for (int64_t n = 1; n <= count; ++n) {
    BindLine(insert.get(), MakeLine(static_cast<int32_t>(n)));
    Step(insert.get(), SQLITE_DONE);
    sqlite3_reset(insert.get());
  }
  Execute("COMMIT");
}

Checksum SqliteEngine::UpdateDonationLines(const std::vector<int32_t>& bill_ids, int32_t offset) {
  // Each UPDATE commits by itself without a flush, as ours does outside a transaction.
  Execute("PRAGMA synchronous=OFF");
  Statement update(Prepare(Joined(kEditDonationLine).c_str()));
  Checksum changed;
  for (const int32_t bill_id : bill_ids) {
    const DonationLine line = MakeLine(bill_id + offset);
    BindLine(update.get(), line);
    sqlite3_bind_int(update.get(), sqlite3_bind_parameter_index(update.get(), ":pbill_id"), bill_id);
    Step(update.get(), SQLITE_DONE);
    sqlite3_reset(update.get());
    if (sqlite3_changes(db_) != 1) throw std::runtime_error("bill_id " + std::to_string(bill_id) + " not updated");
    changed.Add(line.total, static_cast<int64_t>(line.accessory_name.size()));
  }
  return changed;
}

void SqliteEngine::Close() {
  if (db_ && sqlite3_close(db_) != SQLITE_OK) throw std::runtime_error("cannot close " + file_);
  db_ = nullptr;
}

namespace {

// The columns of the report: donate.*, then the donor's name and birthday.
void ReadReportRow(sqlite3_stmt* statement, Checksum& sum) {
  DonateLine line;
  line.bill_no = Text(statement, 0);
  line.bill_date = sqlite3_column_int(statement, 1);
  line.cust_no = Text(statement, 2);
  line.accessory_no = Text(statement, 3);
  line.accessory_name = Text(statement, 4);
  line.qty = sqlite3_column_double(statement, 5);
  line.price = sqlite3_column_double(statement, 6);
  line.total = sqlite3_column_double(statement, 7);
  const std::string name = Text(statement, 8);
  const std::string birth = Text(statement, 9);
  sum.Add(line.total, static_cast<int64_t>(line.bill_no.size() + line.cust_no.size() + line.accessory_no.size() +
                                           line.accessory_name.size() + name.size() + birth.size()));
}

}  // namespace

void SqliteEngine::CreateReportData(int64_t donors, int64_t lines) {
  Execute("CREATE TABLE customer (cust_no VARCHAR(20) COLLATE THAI, cust_name VARCHAR(100), "
          "cust_birth VARCHAR(10), cust_tel VARCHAR(25))");
  Execute("CREATE UNIQUE INDEX customer_no ON customer(cust_no)");
  Execute("CREATE TABLE donate (bill_no VARCHAR(11), bill_date INTEGER, cust_no VARCHAR(20) COLLATE THAI, "
          "accessory_no VARCHAR(15), accessory_name VARCHAR(80), qty DOUBLE, price DOUBLE, total DOUBLE)");
  Execute("CREATE INDEX donate_date ON donate(bill_date)");
  Execute("CREATE INDEX donate_cust ON donate(cust_no)");
  Execute("PRAGMA synchronous=FULL");
  Statement customer(Prepare("INSERT INTO customer VALUES (?,?,?,?)"));
  Statement donate(Prepare("INSERT INTO donate VALUES (?,?,?,?,?,?,?,?)"));
  const auto text = [](sqlite3_stmt* statement, int column, const std::string& value) {
    sqlite3_bind_text(statement, column, value.c_str(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
  };
  Execute("BEGIN");
  for (int64_t n = 1; n <= donors; ++n) {
    const CustomerRow row = MakeCustomer(static_cast<int32_t>(n));
    text(customer.get(), 1, row.cust_no);
    text(customer.get(), 2, row.cust_name);
    text(customer.get(), 3, row.cust_birth);
    text(customer.get(), 4, row.cust_tel);
    Step(customer.get(), SQLITE_DONE);
    sqlite3_reset(customer.get());
  }
  for (int64_t n = 1; n <= lines; ++n) {
    const DonateLine line = MakeLine(static_cast<int32_t>(n), donors);
    text(donate.get(), 1, line.bill_no);
    sqlite3_bind_int(donate.get(), 2, line.bill_date);
    text(donate.get(), 3, line.cust_no);
    text(donate.get(), 4, line.accessory_no);
    text(donate.get(), 5, line.accessory_name);
    sqlite3_bind_double(donate.get(), 6, line.qty);
    sqlite3_bind_double(donate.get(), 7, line.price);
    sqlite3_bind_double(donate.get(), 8, line.total);
    Step(donate.get(), SQLITE_DONE);
    sqlite3_reset(donate.get());
  }
  Execute("COMMIT");
}

Checksum SqliteEngine::DonationReport(int32_t first_day, int32_t last_day) {
  Statement select(Prepare(
      "select donate.* , customer.cust_name, customer.cust_birth from donate, customer "
      "where donate.cust_no = customer.cust_no and (donate.bill_date between ? and ?) order by bill_date"));
  sqlite3_bind_int(select.get(), 1, first_day);
  sqlite3_bind_int(select.get(), 2, last_day);
  Checksum sum;
  int result;
  while ((result = sqlite3_step(select.get())) == SQLITE_ROW) ReadReportRow(select.get(), sum);
  if (result != SQLITE_DONE) throw std::runtime_error(std::string("report: ") + sqlite3_errmsg(db_));
  return sum;
}

Checksum SqliteEngine::DonorLookUps(const std::vector<std::string>& numbers) {
  Checksum sum;
  for (const std::string& number : numbers) {
    Statement select(Prepare("select * from customer where cust_No = ? "));
    sqlite3_bind_text(select.get(), 1, number.c_str(), static_cast<int>(number.size()), SQLITE_STATIC);
    Step(select.get(), SQLITE_ROW);
    const std::string name = Text(select.get(), 1);
    const std::string birth = Text(select.get(), 2);
    const std::string tel = Text(select.get(), 3);
    sum.Add(0, static_cast<int64_t>(Text(select.get(), 0).size() + name.size() + birth.size() + tel.size()));
  }
  return sum;
}
