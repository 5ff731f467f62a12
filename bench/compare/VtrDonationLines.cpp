#include "bench/compare/VtrDonationLines.h"

void VtrEngine::InsertDonationLines(const std::string& folder, int64_t count) {
  lines_ = std::make_unique<DonationLines>(folder + "/lines.vtr");
  lines_->Insert(count);
}

Checksum VtrEngine::UpdateDonationLines(const std::vector<int32_t>& bill_ids, int32_t offset) {
  return lines_->Update(bill_ids, offset);
}
