#pragma once
// Trbuy_sale: the purchase lines ("รายจ่าย", kind "0") or the sale lines
// ("รายรับ", kind "1") of a period with their suppliers' or customers'
// names, as the main menu chose by BuySaleReportKind before opening it.
// Lines whose supplier or customer is not in its register are left out.
#include "app/core/SqlWindowQuery.h"
#include "app/donation/GoodsLinesReport.h"

inline constexpr const char* kPurchaseKind = "0";
inline constexpr const char* kSaleKind = "1";

class Trbuy_sale : public GoodsLinesReport {
 public:
  explicit Trbuy_sale(TComponent* owner, const WindowQueryFactory& make_query = SqlQueries());

  // The kind taken over at the first activation.
  const std::string& Kind() const { return kind_; }

 protected:
  void AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) override;

 private:
  void FormActivate(TObject* sender);

  std::string kind_;
};
