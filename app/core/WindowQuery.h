#pragma once
// WindowQuery: the SQL query of a window as the windows drive it. A run
// rebuilds the statement line by line, gives its named parameters their
// values and opens it; the rows are then a read-only dataset for the grid,
// the sums, the printout and the export.
//
// The programs' queries run on the window's own connection; tests give rows
// of their own. The rows dataset is a component of the window that made the
// query (its owner), so it lives as long as the window's controls.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Variant.h"

class TComponent;
class TDataSet;

struct QueryParameter {
  std::string name;  // as written after the colon in the text
  Variant value;
};

struct QueryStatement {
  std::vector<std::string> lines;
  std::vector<QueryParameter> parameters;
};

class WindowQuery {
 public:
  virtual ~WindowQuery() = default;

  // The rows of the last run; closed before the first.
  virtual TDataSet& Rows() = 0;
  // Closes the rows, replaces the text by the statement's lines, prepares it,
  // sets each parameter by its name and opens it on its first row. A failing
  // statement raises and leaves the rows closed.
  virtual void Open(const QueryStatement& statement) = 0;
  // From the next run on, the rows are read through the stored table instead
  // of a copy of the result, so a large result of one table opens at once;
  // they stay read-only and show what other users commit meanwhile. A query
  // without such a way ignores it.
  virtual void SetLiveRows(bool live) {}
};

// Makes the query of a window; `owner` is the window and `alias` the alias
// of its own connection, which the query uses.
using WindowQueryFactory = std::function<std::unique_ptr<WindowQuery>(TComponent& owner, const std::string& alias)>;
