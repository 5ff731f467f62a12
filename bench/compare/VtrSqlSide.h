#pragma once
// The SQL work on our engine as the donation program runs it: a database
// component and a query component on one owner, the statements the windows
// write, parameters set through ParamByName.
#include <string>

#include "bench/compare/VtrEngine.h"
#include "engine/access/Database.h"
#include "engine/access/EngineRuntime.h"
#include "engine/access/HeadlessUi.h"
#include "engine/access/Query.h"

class VtrEngine::SqlSide {
 public:
  // Opens the file multi-user under the alias the report windows use.
  explicit SqlSide(const std::string& file_name);
  ~SqlSide();

  void CreateReportData(int64_t donors, int64_t lines);
  Checksum DonationReport(int32_t first_day, int32_t last_day);
  Checksum DonorLookUps(const std::vector<std::string>& numbers);

 private:
  void Run(const std::string& sql);

  TVTRHeadlessUi ui_;
  TVTREngineRuntime runtime_{ui_};
  TComponent owner_{nullptr};
  TVTRDatabase database_{&owner_};
  TVTRQuery query_{&owner_};
};
