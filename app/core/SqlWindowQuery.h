#pragma once
// The windows' queries in the programs: a read-only query component of the
// window, on the window's own connection by its alias, run through the SQL
// engine.
#include <string>

#include "app/core/WindowQuery.h"

class TVTRQuery;

class SqlWindowQuery : public WindowQuery {
 public:
  // The query component is a component of `owner`, which frees it.
  SqlWindowQuery(TComponent& owner, const std::string& alias);

  TVTRQuery& Query() const { return query_; }
  TDataSet& Rows() override;
  // Close, clear the text, add the lines, Prepare, set each parameter by
  // name, Open. An unknown parameter raises "Parameter '…' not found".
  void Open(const QueryStatement& statement) override;
  // Through the query component's live result.
  void SetLiveRows(bool live) override;

 private:
  TVTRQuery& query_;
};

// The factory that the programs hand their windows.
WindowQueryFactory SqlQueries();
