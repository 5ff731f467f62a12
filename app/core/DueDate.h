#pragma once
// Due dates of goods documents from their credit term.
#include <string>
#include <string_view>

// The due date text for a start date text and a credit term: "สด" (cash) and
// any term not listed give the start as it is; "3 ว." to "120 ว." the start
// plus that many days; "0 ด." to "6 ด." the last day of the month that many
// months on. An empty start gives an empty text. A start that is no date is
// reported as ThaiTextToDate reports it, and gives an empty text.
std::string DueDateByTerm(std::string_view start, std::string_view term);
