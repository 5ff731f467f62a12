#pragma once
// The donation-line steps on our engine: the window's own statement texts
// through a query component on a database component, as the program runs
// them, with the parameters set by name before every run.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/compare/VtrEngine.h"
#include "engine/access/HeadlessUi.h"
#include "engine/access/Query.h"
#include "engine/access/VTRMain.h"
#include "engine/sql/SQLEngineStartup.h"
#include "engine/storage/table/SearchTrace.h"
#include "engine/storage/table/TableData.h"
#include "tests/engine/sql/dml/DonationLineStatements.h"

class VtrEngine::DonationLines {
 public:
  explicit DonationLines(const std::string& file) {
    InitializeSQLEngine();
    database_.SetDatabaseName("d_lines");
    database_.SetDatabaseFileName(file);
    database_.MultiUser = true;
    database_.CreateDatabase();
    database_.SetKeepConnection(true);
    database_.Open();
    query_.SetDatabaseName("d_lines");
    query_.SQL().SetText(kCreateDonateLines);
    query_.ExecSQL();
  }

  template <typename Lines>
  void Prepare(const Lines& lines) {
    query_.Close();
    query_.SQL().Clear();
    for (const char* line : lines) query_.SQL().Add(line);
    query_.Prepare();
  }

  // Opens the table as the window's list of lines does.
  void Show(TVTRTable& lines) {
    lines.SetDatabaseName("d_lines");
    lines.SetTableName("donate");
    lines.Open();
  }

  void Bind(const DonationLine& line) {
    query_.ParamByName("pbill_no")->SetAsString(line.bill_no);
    query_.ParamByName("pbill_date")->SetAsDateTime(line.bill_date);
    query_.ParamByName("pcust_no")->SetAsString(line.cust_no);
    query_.ParamByName("paccessory_no")->SetAsString(line.accessory_no);
    query_.ParamByName("paccessory_name")->SetAsString(line.accessory_name);
    query_.ParamByName("paccessory_type")->SetAsString("D");
    query_.ParamByName("paccessory_sn")->SetAsString("");
    query_.ParamByName("pproj_no")->SetAsString("J1");
    query_.ParamByName("pproj_type")->SetAsString("A");
    query_.ParamByName("pqty")->SetAsFloat(line.qty);
    query_.ParamByName("punit_name")->SetAsString(line.unit_name);
    query_.ParamByName("pprice")->SetAsFloat(line.price);
    query_.ParamByName("pdisc_rate")->SetAsFloat(0);
    query_.ParamByName("ptax_status")->SetAsString("");
    query_.ParamByName("ptax_rate")->SetAsFloat(0);
    query_.ParamByName("pwarn_term")->SetAsString("");
    query_.ParamByName("pwarn_date")->SetAsString("");
    query_.ParamByName("ptotal")->SetAsFloat(line.total);
    query_.ParamByName("pp_bill")->SetAsString("");
    query_.ParamByName("pfg_clear")->SetAsString("0");
    query_.ParamByName("pfg_end")->SetAsString("");
    query_.ParamByName("pstk_post")->SetAsInteger(1);
    query_.ParamByName("psale_no")->SetAsString(line.sale_no);
  }

  void Insert(int64_t count) {
    // The window shows the donation's lines meanwhile, so the table stays open.
    TVTRTable shown_lines(&owner_);
    Show(shown_lines);
    Prepare(kAddDonationLine);
    database_.StartTransaction();
    for (int64_t n = 1; n <= count; ++n) {
      Bind(MakeLine(static_cast<int32_t>(n)));
      query_.ExecSQL();
    }
    database_.Commit(true);
  }

  Checksum Update(const std::vector<int32_t>& bill_ids, int32_t offset) {
    // The shown lines keep the table object whose trace sees the searches
    // of the statements' own components.
    TVTRTable donate(&owner_);
    Show(donate);
    TVTRSearchTrace trace;
    static_cast<TVTRLocalCursor*>(donate.Handle())->TableData->SearchTrace = &trace;
    Prepare(kEditDonationLine);
    Checksum changed;
    for (const int32_t bill_id : bill_ids) {
      const DonationLine line = MakeLine(bill_id + offset);
      Bind(line);
      query_.ParamByName("pbill_id")->SetAsInteger(bill_id);
      query_.ExecSQL();
      if (query_.RowsAffected() != 1) throw std::runtime_error("bill_id " + std::to_string(bill_id) + " not updated");
      changed.Add(line.total, static_cast<int64_t>(line.accessory_name.size()));
    }
    static_cast<TVTRLocalCursor*>(donate.Handle())->TableData->SearchTrace = nullptr;
    std::printf("ours: the UPDATE's search used %s (index %d), reading %lld record(s)\n",
                trace.Strategy == TVTRSearchStrategy::kScanIndexForStorageOrder ? "an index range"
                                                                                : "no index range",
                trace.IndexID, static_cast<long long>(trace.RecordsRead));
    return changed;
  }

 private:
  TVTRHeadlessUi ui_;
  TVTREngineRuntime runtime_{ui_};
  TComponent owner_{nullptr};
  TVTRDatabase database_{&owner_};
  TVTRQuery query_{&owner_};
};
