#include "app/core/SqlWindowQuery.h"

#include <memory>

#include "engine/access/Query.h"

namespace {

TVTRQuery& MakeQuery(TComponent& owner, const std::string& alias) {
  auto* query = new TVTRQuery(&owner);
  query->SetDatabaseName(alias);
  query->SetReadOnly(true);
  return *query;
}

}  // namespace

SqlWindowQuery::SqlWindowQuery(TComponent& owner, const std::string& alias) : query_(MakeQuery(owner, alias)) {}

TDataSet& SqlWindowQuery::Rows() {
  return query_;
}

void SqlWindowQuery::Open(const QueryStatement& statement) {
  query_.Close();
  query_.SQL().Clear();
  for (const std::string& line : statement.lines) query_.SQL().Add(line);
  query_.Prepare();
  for (const QueryParameter& parameter : statement.parameters) {
    query_.ParamByName(parameter.name)->SetValue(parameter.value);
  }
  query_.Open();
}

void SqlWindowQuery::SetLiveRows(bool live) {
  query_.SetRequestLive(live);
}

WindowQueryFactory SqlQueries() {
  return [](TComponent& owner, const std::string& alias) { return std::make_unique<SqlWindowQuery>(owner, alias); };
}
