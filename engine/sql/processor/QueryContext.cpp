#include "engine/sql/processor/QueryContext.h"

#include "engine/access/EngineRuntime.h"
#include "engine/access/Query.h"
#include "engine/access/Session.h"
#include "engine/access/SessionList.h"
#include "engine/access/Table.h"
#include "platform/db/DatabaseError.h"
#include "platform/rtl/CodePage874.h"

TVTRQueryContext TVTRQueryContext::Of(TVTRQuery& query) {
  return {.Query = &query,
          .Owner = query.Owner(),
          .DatabaseName = query.DatabaseName(),
          .SessionName = query.SessionName()};
}

TVTRDatabase* TVTRQueryContext::FindDatabase() const {
  if (Query != nullptr && Query->Database() != nullptr) return Query->Database();
  TVTRSession* session = SessionList().FindSession(SessionName);
  return session ? session->FindDatabaseForOwner(DatabaseName, Owner) : nullptr;
}

TVTRDatabase& TVTRQueryContext::Database() const {
  TVTRDatabase* database = FindDatabase();
  if (database == nullptr) throw EDatabaseError("Cannot perform this operation on a closed database");
  return *database;
}

std::unique_ptr<TVTRTable> TVTRQueryContext::NewTable(const std::string& alias, std::string_view table_name,
                                                      bool in_memory) const {
  auto table = std::make_unique<TVTRTable>(Owner);
  table->SetSessionName(SessionName);
  table->SetDatabaseName(alias);
  table->SetTableName(Cp874ToUtf8(table_name));
  if (in_memory || InMemory) table->SetInMemory(true);
  return table;
}
