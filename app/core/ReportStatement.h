#pragma once
// The statement of a report run, built as the report windows build it: the
// report's fixed lines, the name filter's condition when the user filters, one
// ORDER BY line chosen by the sort group, and the period as whole days.
#include <string>
#include <string_view>
#include <vector>

#include "app/core/WindowQuery.h"
#include "platform/rtl/DateTime.h"

// The period's parameters: "mBegin" is the first day and "mEnd" the last day,
// both as dates without a time of day, so that "date >= :mBegin and date <=
// :mEnd" (or "between") takes both days whole against stored dates, which
// carry no time either.
inline constexpr std::string_view kPeriodBegin = "mBegin";
inline constexpr std::string_view kPeriodEnd = "mEnd";
// The captions of the pickers of the first and the last day.
inline constexpr std::string_view kPeriodBeginCaption = "ตั้งแต่วันที่";
inline constexpr std::string_view kPeriodEndCaption = "ถึงวันที่";

// The fixed lines, then `order_lines[sort_index]`; an index outside the list
// adds no ORDER BY.
QueryStatement ReportStatement(const std::vector<std::string>& fixed_lines,
                               const std::vector<std::string>& order_lines, int sort_index);

// Adds the period of the days `first_day` through `last_day`, each a whole
// day (a picker's Date()).
void AddPeriod(QueryStatement& statement, TDateTime first_day, TDateTime last_day);

// The value that a name filter matches anywhere in the name: "%" + the text
// without its leading and trailing blanks + "%".
std::string NameFilterPattern(std::string_view typed);
