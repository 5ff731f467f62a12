#pragma once
// Converts between text and date-time values by an explicit format such as
// 'DD/MM/YYYY HH24:NN' (the SQL functions TODATE and TOSTRING). The format is
// parsed once, at construction.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/foundation/DataTypes.h"
#include "engine/foundation/dateformat/DateFormatTokens.h"
#include "platform/rtl/DateTime.h"

class TDateFormater {
 public:
  explicit TDateFormater(std::string_view format) : tokens_(ParseDateFormat(format)) {}

  // Reads the elements in order from the text; names, day numbers and literals
  // are skipped by their length in the format. A piece that is no number raises
  // EConvertError, a negative one ERangeError, an AM/PM element that reads
  // neither word 30129, an impossible date or time EConvertError. Without a
  // year, month and day the date part is 30 December 1899.
  TDateTime ParseDateTime(std::string_view text) const;
  std::string FormatDateTime(TDateTime value) const;
  // The longest text FormatDateTime can produce.
  int32_t GetResultLength() const;
  // DATE when only date elements appear, TIME when only time elements, else DATETIME.
  TVTRAdvancedDataType GetResultDataType() const;

 private:
  std::vector<TDateFormatToken> tokens_;
};
