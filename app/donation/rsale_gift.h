#pragma once
// Trsale_gift: the sale lines of a period whose souvenir has not yet been
// handed over ("ยังไม่ได้รับ", fg_gift "0") or has been ("รับแล้ว", "1"),
// with the customer's name looked up per line (empty when the customer is not
// in the register) and the souvenir state as text.
#include <memory>

#include "app/core/SqlWindowQuery.h"
#include "app/donation/GoodsLinesReport.h"
#include "app/donation/NameLookup.h"

inline constexpr const char* kGiftNotReceived = "ยังไม่ได้รับ";
inline constexpr const char* kGiftReceived = "รับแล้ว";

class Trsale_gift : public GoodsLinesReport {
  // First, as Query_Temp refers to it.
  std::unique_ptr<WindowQuery> lookup_;

 public:
  explicit Trsale_gift(TComponent* owner, const WindowQueryFactory& make_query = SqlQueries());
  ~Trsale_gift() override;

  // The customer name look-up.
  WindowQuery& Query_Temp;

 protected:
  void AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) override;
  void AddOwnCalculatedFields() override;
  void CalculateRow() override;

 private:
  NameLookup customer_names_;
  TField* cust_no_ = nullptr;
  TField* fg_gift_ = nullptr;
  TField* mcust_name_ = nullptr;
  TField* mfg_gift_ = nullptr;
};
