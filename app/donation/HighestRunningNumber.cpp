#include "app/donation/HighestRunningNumber.h"

#include "platform/db/DB.h"

std::string HighestRunningNumber(WindowQuery& query, const std::string& table, const std::string& column,
                                 const RunningNumberShape& shape) {
  const std::string prefix(shape.prefix);
  const std::string lowest = prefix + std::string(static_cast<size_t>(shape.digits), '0');
  std::string bound = prefix + std::string(static_cast<size_t>(shape.digits), '9');
  // Below the highest running number of the shape, up to the bound itself at
  // first and then strictly below a number of another shape.
  for (const char* below = " <= ";; below = " < ") {
    query.Open({{" select top 1 " + column + " from " + table + " ",
                 " where " + column + " >= :plowest and " + column + below + ":pbound ",
                 " order by " + column + " DESC  "},
                {{"plowest", Variant(lowest)}, {"pbound", Variant(bound)}}});
    const std::string number = query.Rows().IsEmpty() ? std::string() : query.Rows().Fields()[0]->AsString();
    query.Rows().Close();
    if (number.empty() || IsRunningNumber(shape, number)) return number;
    bound = number;
  }
}
