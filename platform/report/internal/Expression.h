#pragma once
// The expressions of sums and groups: "SUM(Query1.total)", "Query1.total" or
// "total", letters in either case, blanks allowed around the parts.
#include <string>
#include <string_view>

class TDataSet;
class TField;
class TQuickRep;

struct TQRFieldExpression {
  bool sum = false;
  std::string dataset;  // empty: the report's dataset
  std::string field;
};

// Raises EQuickReportError naming the item and the expression when the text is
// not one of the forms above.
TQRFieldExpression ParseFieldExpression(std::string_view text, const std::string& item_name);

// The field on its dataset's current row: the report's dataset when the name
// is empty or the report's dataset's own, else the dataset of that name among
// the components of the report's owner. Null while that dataset is closed.
// Raises EQuickReportError for a dataset that cannot be found and the dataset's
// error for an unknown field.
TField* ResolveField(const TQuickRep& report, const TQRFieldExpression& expression,
                     const std::string& item_name);
