#include "bench/compare/VtrDonationLines.h"
#include "bench/compare/VtrSqlSide.h"

void VtrEngine::InsertDonationLines(const std::string& folder, int64_t count) {
  // A process has one engine runtime: the report's components and theirs go first.
  sql_.reset();
  lines_ = std::make_unique<DonationLines>(folder + "/lines.vtr");
  lines_->Insert(count);
}

Checksum VtrEngine::UpdateDonationLines(const std::vector<int32_t>& bill_ids, int32_t offset) {
  return lines_->Update(bill_ids, offset);
}
