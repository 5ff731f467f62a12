#include "app/donation/HighestRunningNumber.h"

#include "platform/db/DB.h"

std::string HighestRunningNumber(WindowQuery& query, const std::string& table, const std::string& column,
                                 const RunningNumberShape& shape) {
  const std::string prefix(shape.prefix);
  query.Open({{" select " + column + " from " + table + " ",
               " where " + column + " >= :plowest and " + column + " <= :phighest ", " order by " + column + " DESC  "},
              {{"plowest", Variant(prefix + std::string(static_cast<size_t>(shape.digits), '0'))},
               {"phighest", Variant(prefix + std::string(static_cast<size_t>(shape.digits), '9'))}}});
  TDataSet& numbers = query.Rows();
  std::string highest;
  for (TField* number = numbers.Fields()[0]; !numbers.Eof() && highest.empty(); numbers.Next()) {
    if (IsRunningNumber(shape, number->AsString())) highest = number->AsString();
  }
  numbers.Close();
  return highest;
}
