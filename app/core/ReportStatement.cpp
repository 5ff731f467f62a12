#include "app/core/ReportStatement.h"

#include "platform/rtl/TextCase.h"

QueryStatement ReportStatement(const std::vector<std::string>& fixed_lines,
                               const std::vector<std::string>& order_lines, int sort_index) {
  QueryStatement statement{fixed_lines, {}};
  if (sort_index >= 0 && sort_index < static_cast<int>(order_lines.size())) {
    statement.lines.push_back(order_lines[sort_index]);
  }
  return statement;
}

void AddPeriod(QueryStatement& statement, TDateTime first_day, TDateTime last_day) {
  statement.parameters.push_back({std::string(kPeriodBegin), Variant::Date(first_day)});
  statement.parameters.push_back({std::string(kPeriodEnd), Variant::Date(last_day)});
}

std::string NameFilterPattern(std::string_view typed) {
  return "%" + Trim(typed) + "%";
}
