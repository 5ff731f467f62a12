#pragma once
// Our engine through the components the windows use: a database component,
// table components to load the rows and a query component for the SQL.
#include <memory>

#include "bench/report/ReportWork.h"

class VtrReport : public ReportEngine {
 public:
  VtrReport();
  ~VtrReport() override;

  std::string Name() const override { return "ours"; }
  void Load(const std::string& folder, const ReportSizes& sizes) override;
  ReportSum Report() override;
  ReportSum InSubquery() override;
  void Close() override;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};
