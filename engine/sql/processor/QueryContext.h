#pragma once
// What a statement takes from the query component that runs it: the owner
// of the short-lived components it creates, the alias, the session, the
// processor's InMemory setting and the database component of the alias.
// Names are UTF-8, as the components take them.
#include <string>

class TComponent;
class TVTRDatabase;
class TVTRQuery;

struct TVTRQueryContext {
  TVTRQuery* Query = nullptr;  // the running query; nil when a statement runs without one
  TComponent* Owner = nullptr;
  std::string DatabaseName;
  std::string SessionName;
  bool InMemory = false;

  // The database component the alias designates, or nil.
  TVTRDatabase* FindDatabase() const;
  // The database component the alias designates for the owner in the
  // session, as a dataset of the owner would attach to it; "Cannot perform
  // this operation on a closed database" when the session has none.
  TVTRDatabase& Database() const;
};
