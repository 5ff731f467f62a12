#pragma once
// What a statement takes from the query component that runs it: the owner
// of the short-lived components it creates, the alias, the session, the
// processor's InMemory setting and the database component of the alias.
// Names are UTF-8, as the components take them.
#include <memory>
#include <string>
#include <string_view>

class TComponent;
class TVTRDatabase;
class TVTRQuery;
class TVTRTable;

struct TVTRQueryContext {
  TVTRQuery* Query = nullptr;  // the running query; nil when a statement runs without one
  TComponent* Owner = nullptr;
  std::string DatabaseName;
  std::string SessionName;
  bool InMemory = false;  // the processor's InMemory setting

  // The context of a query component: its owner, alias and session (the
  // processor fills in its own InMemory setting).
  static TVTRQueryContext Of(TVTRQuery& query);

  // The query's attached database component, else the one the alias
  // designates for the owner in the session; nil when there is none.
  TVTRDatabase* FindDatabase() const;
  // FindDatabase; "Cannot perform this operation on a closed database"
  // when there is none.
  TVTRDatabase& Database() const;
  // A closed table component of the query's owner and session for the
  // table (engine text) on `alias`, kept in memory with `in_memory` or
  // the query's InMemory.
  std::unique_ptr<TVTRTable> NewTable(const std::string& alias, std::string_view table_name,
                                      bool in_memory) const;
};
