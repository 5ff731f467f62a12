#pragma once
// TRep_Cust: the printed list of the donor and customer register, by number
// or by name; the list prints its headers also when the register is empty.
#include "app/core/ReportWindow.h"
#include "app/core/SqlWindowQuery.h"

class TRep_Cust : public ReportWindow {
 public:
  explicit TRep_Cust(TComponent* owner, const WindowQueryFactory& make_query = SqlQueries());
};
