// The SQL steps of our engine, through the query component.
#include <stdexcept>

#include "bench/compare/VtrSqlSide.h"
#include "engine/access/LocalCursor.h"
#include "engine/access/Table.h"
#include "engine/sql/SQLEngineStartup.h"
#include "platform/db/Field.h"
#include "platform/db/Params.h"

namespace {

// Day 1 = 0001-01-01 is TDateTime -693593.
constexpr int32_t kDayNumberOfDateZero = 693'594;

TDateTime DateOfDay(int32_t day) {
  return day - kDayNumberOfDateZero;
}

int64_t TextLength(TField& field) {
  return static_cast<int64_t>(field.AsString().size());
}

}  // namespace

VtrEngine::SqlSide::SqlSide(const std::string& file_name) {
  InitializeSQLEngine();
  database_.SetDatabaseName("d_profit");
  database_.SetDatabaseFileName(file_name);
  database_.MultiUser = true;
  database_.SetKeepConnection(true);
  database_.Open();
  query_.SetDatabaseName("d_profit");
}

VtrEngine::SqlSide::~SqlSide() {
  query_.Close();
  query_.UnPrepare();
}

void VtrEngine::SqlSide::Run(const std::string& sql) {
  query_.SQL().SetText(sql);
  query_.ExecSQL();
}

void VtrEngine::CreateReportData(int64_t donors, int64_t lines) {
  Disconnect();
  sql_ = std::make_unique<SqlSide>(file_);
  sql_->CreateReportData(donors, lines);
}

Checksum VtrEngine::DonationReport(int32_t first_day, int32_t last_day) {
  return sql_->DonationReport(first_day, last_day);
}

Checksum VtrEngine::DonorLookUps(const std::vector<std::string>& numbers) {
  return sql_->DonorLookUps(numbers);
}

void VtrEngine::SqlSide::CreateReportData(int64_t donors, int64_t lines) {
  Run("CREATE TABLE customer (cust_no VARCHAR(20), cust_name VARCHAR(100), cust_birth VARCHAR(10), "
      "cust_tel VARCHAR(25))");
  Run("CREATE UNIQUE INDEX customer_no ON customer (cust_no)");
  Run("CREATE TABLE donate (bill_no VARCHAR(11), bill_date DATE, cust_no VARCHAR(20), accessory_no VARCHAR(15), "
      "accessory_name VARCHAR(80), qty FLOAT, price FLOAT, total FLOAT)");
  Run("CREATE INDEX donate_date ON donate (bill_date)");
  Run("CREATE INDEX donate_cust ON donate (cust_no)");
  TVTRTable customer(&owner_), donate(&owner_);
  for (TVTRTable* table : {&customer, &donate}) table->SetDatabaseName("d_profit");
  customer.SetTableName("customer");
  donate.SetTableName("donate");
  customer.Open();
  donate.Open();
  database_.StartTransaction();
  for (int64_t n = 1; n <= donors; ++n) {
    const CustomerRow row = MakeCustomer(static_cast<int32_t>(n));
    customer.Append();
    customer.Fields()[0]->SetAsString(row.cust_no);
    customer.Fields()[1]->SetAsString(row.cust_name);
    customer.Fields()[2]->SetAsString(row.cust_birth);
    customer.Fields()[3]->SetAsString(row.cust_tel);
    customer.Post();
  }
  for (int64_t n = 1; n <= lines; ++n) {
    const DonateLine line = MakeLine(static_cast<int32_t>(n), donors);
    donate.Append();
    donate.Fields()[0]->SetAsString(line.bill_no);
    donate.Fields()[1]->SetAsDateTime(DateOfDay(line.bill_date));
    donate.Fields()[2]->SetAsString(line.cust_no);
    donate.Fields()[3]->SetAsString(line.accessory_no);
    donate.Fields()[4]->SetAsString(line.accessory_name);
    donate.Fields()[5]->SetAsFloat(line.qty);
    donate.Fields()[6]->SetAsFloat(line.price);
    donate.Fields()[7]->SetAsFloat(line.total);
    donate.Post();
  }
  database_.Commit(true);
}

Checksum VtrEngine::SqlSide::DonationReport(int32_t first_day, int32_t last_day) {
  // The report window's statement and period: the start picker less one
  // day and the end picker, both at the time of day the pickers carry.
  query_.Close();
  query_.SQL().Clear();
  query_.SQL().Add(" select donate.* , customer.cust_name, customer.cust_birth  ");
  query_.SQL().Add(" from donate, customer ");
  query_.SQL().Add(" where donate.cust_no = customer.cust_no ");
  query_.SQL().Add(" and (donate.bill_date between :mBegin and :mEnd) ");
  query_.SQL().Add(" order by bill_date ");
  query_.SQL().Add("");
  query_.Prepare();
  constexpr double kTimeOfDay = 10.5 / 24;
  query_.ParamByName("mBegin")->SetAsDateTime(DateOfDay(first_day - 1) + kTimeOfDay);
  query_.ParamByName("mEnd")->SetAsDateTime(DateOfDay(last_day) + kTimeOfDay);
  query_.Open();
  Checksum sum;
  TFields& fields = query_.Fields();
  for (query_.First(); !query_.Eof(); query_.Next()) {
    (void)fields[1]->AsDateTime();
    (void)fields[5]->AsFloat();
    (void)fields[6]->AsFloat();
    sum.Add(fields[7]->AsFloat(), TextLength(*fields[0]) + TextLength(*fields[2]) + TextLength(*fields[3]) +
                                      TextLength(*fields[4]) + TextLength(*fields[8]) + TextLength(*fields[9]));
  }
  query_.Close();
  return sum;
}

Checksum VtrEngine::SqlSide::DonorLookUps(const std::vector<std::string>& numbers) {
  // The planner's trace on the register's table: every look-up must read
  // one record through the index on cust_no.
  TVTRTable customer(&owner_);
  customer.SetDatabaseName("d_profit");
  customer.SetTableName("customer");
  customer.Open();
  TVTRSearchTrace trace;
  TVTRTableData& table_data = *static_cast<TVTRLocalCursor*>(customer.Handle())->TableData;
  table_data.SearchTrace = &trace;
  Checksum sum;
  for (const std::string& number : numbers) {
    query_.Close();
    query_.SQL().Clear();
    query_.SQL().Add("select * from customer where cust_No = :mcust_no ");
    query_.Prepare();
    query_.ParamByName("mcust_no")->SetAsString(number);
    trace = {};
    query_.Open();
    if (trace.IndexID < 0 || trace.RecordsRead != 1)
      throw std::runtime_error("the look-up of " + number + " read " + std::to_string(trace.RecordsRead) +
                               " records through index " + std::to_string(trace.IndexID));
    TFields& fields = query_.Fields();
    sum.Add(0, TextLength(*fields[0]) + TextLength(*fields[1]) + TextLength(*fields[2]) + TextLength(*fields[3]));
  }
  query_.Close();
  table_data.SearchTrace = nullptr;
  return sum;
}
