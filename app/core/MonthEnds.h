#pragma once
// First and last days of a month as day/month/Buddhist-year texts: the period
// pickers of reports and the due dates of month credit terms.
#include <string>

// A day of the Buddhist calendar: the Gregorian date with the year + 543.
struct BuddhistDate {
  int day = 0;
  int month = 0;
  int year = 0;
};

// "29/02/2567" for 2 and 2567. The month must be 1 to 12 (else EConvertError).
std::string LastDayOfMonthText(int month, int buddhist_year);
// "01/02/2567" for 2 and 2567.
std::string FirstDayOfMonthText(int month, int buddhist_year);
// The last day of the month `months` after the start's month: 15/01/2567 and 1
// give "29/02/2567".
std::string AddMonthsEndOfMonth(int months, const BuddhistDate& start);
