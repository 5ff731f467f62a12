#include "app/donation/StockOnHand.h"

#include "app/core/WhileOpen.h"
#include "engine/access/Query.h"
#include "platform/db/DB.h"

namespace {

// The sum of qty over the rows of the statement for the item.
double SumOfQuantities(const std::string& alias, const char* statement, const std::string& pro_no) {
  TVTRQuery query(nullptr);
  query.SetDatabaseName(alias);
  query.SetReadOnly(true);
  query.SQL().Add(statement);
  query.ParamByName("mPro_No")->SetAsString(pro_no);
  return WhileOpen(query, [&query] {
    double sum = 0;
    for (TField* qty = query.FieldByName("Qty"); !query.Eof(); query.Next()) sum += qty->AsFloat();
    return sum;
  });
}

}  // namespace

double StockOnHand(const std::string& alias, const std::string& pro_no, double pro_total) {
  return pro_total +
         SumOfQuantities(alias,
                         " select accessory_No , Qty, Stk_Post from instock where Accessory_No = :mPro_No "
                         "and stk_post = 2.00 ",
                         pro_no) -
         SumOfQuantities(alias,
                         " select Accessory_No , Qty, Stk_Post from outstock where Accessory_No = :mPro_No "
                         "and stk_post = 1.00 ",
                         pro_no);
}
