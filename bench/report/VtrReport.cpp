#include "bench/report/VtrReport.h"

#include "engine/access/Database.h"
#include "engine/access/EngineRuntime.h"
#include "engine/access/HeadlessUi.h"
#include "engine/access/LocalSession.h"
#include "engine/access/Query.h"
#include "engine/access/Table.h"
#include "engine/sql/SQLEngineStartup.h"
#include "platform/db/Field.h"
#include "platform/db/Params.h"
#include "platform/rtl/DateTime.h"

struct VtrReport::Parts {
  TVTRHeadlessUi ui;
  TVTREngineRuntime runtime{ui};
  TComponent form{nullptr};
  std::unique_ptr<TVTRDatabase> database;
  std::unique_ptr<TVTRQuery> query;
};

VtrReport::VtrReport() : parts_(std::make_unique<Parts>()) {
  InitializeSQLEngine();
}

VtrReport::~VtrReport() {
  Close();
}

void VtrReport::Load(const std::string& folder, const ReportSizes& sizes) {
  const std::string file = folder + "/dat_temple.vtr";
  {
    TVTRLocalSession session;
    session.DatabaseFileName = file;
    session.PageSize = 4096;
    session.PagesPerExtent = 8;
    session.CreateDatabase();
  }
  parts_->database = std::make_unique<TVTRDatabase>(&parts_->form);
  parts_->database->SetDatabaseName("d_main");
  parts_->database->SetDatabaseFileName(file);
  parts_->database->Open();
  parts_->query = std::make_unique<TVTRQuery>(&parts_->form);
  parts_->query->SetDatabaseName("d_main");
  const auto run = [&](const char* sql) {
    parts_->query->SQL().SetText(sql);
    parts_->query->ExecSQL();
  };
  run("CREATE TABLE customer (cust_no VARCHAR(10), cust_name VARCHAR(40))");
  run("CREATE TABLE donate (bill_no VARCHAR(12), bill_date TIMESTAMP, cust_no VARCHAR(10), total MONEY)");

  parts_->database->StartTransaction();
  TVTRTable customers(&parts_->form);
  customers.SetDatabaseName("d_main");
  customers.SetTableName("customer");
  customers.Open();
  for (int64_t n = 1; n <= sizes.donors; ++n) {
    const CustomerRow row = MakeCustomer(n, sizes);
    customers.Append();
    customers.Fields()[0]->SetAsString(row.cust_no);
    customers.Fields()[1]->SetAsString(row.cust_name);
    customers.Post();
  }
  customers.Close();
  TVTRTable lines(&parts_->form);
  lines.SetDatabaseName("d_main");
  lines.SetTableName("donate");
  lines.Open();
  for (int64_t n = 1; n <= sizes.lines; ++n) {
    const DonateRow row = MakeDonate(n, sizes);
    lines.Append();
    lines.Fields()[0]->SetAsString(row.bill_no);
    lines.Fields()[1]->SetAsDateTime(EncodeDate(row.year, row.month, row.day) +
                                     static_cast<double>(row.second_of_day) / 86400.0);
    lines.Fields()[2]->SetAsString(row.cust_no);
    lines.Fields()[3]->SetAsFloat(row.total);
    lines.Post();
  }
  lines.Close();
  parts_->database->Commit(true);

  run("CREATE UNIQUE INDEX customer_no ON customer (cust_no)");
  run("CREATE UNIQUE INDEX donate_no ON donate (bill_no)");
  run("CREATE INDEX donate_date ON donate (bill_date)");
  run("CREATE INDEX donate_cust ON donate (cust_no)");
}

ReportSum VtrReport::Report() {
  TVTRQuery& query = *parts_->query;
  query.Close();
  query.SQL().SetText(kReportQuery);
  query.ParamByName("mBegin")->SetAsDateTime(EncodeDate(2024, 1, 1));
  query.ParamByName("mEnd")->SetAsDateTime(EncodeDate(2024, 12, 31) + EncodeTime(23, 59, 59, 0));
  query.Open();
  ReportSum sum;
  for (query.First(); !query.Eof(); query.Next()) {
    ++sum.rows;
    sum.text_bytes += static_cast<int64_t>(query.Fields()[0]->AsString().size());
    sum.counts += query.Fields()[1]->AsInteger();
    sum.amounts += query.Fields()[2]->AsFloat();
  }
  query.Close();
  return sum;
}

ReportSum VtrReport::InSubquery() {
  TVTRQuery& query = *parts_->query;
  query.Close();
  query.SQL().SetText(kInQuery);
  query.Open();
  ReportSum sum;
  for (query.First(); !query.Eof(); query.Next()) {
    ++sum.rows;
    sum.text_bytes += static_cast<int64_t>(query.Fields()[0]->AsString().size());
    sum.amounts += query.Fields()[1]->AsFloat();
  }
  query.Close();
  return sum;
}

void VtrReport::Close() {
  parts_->query.reset();
  parts_->database.reset();
}
