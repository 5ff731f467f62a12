#include "engine/sql/processor/QueryContext.h"

#include "engine/access/EngineRuntime.h"
#include "engine/access/Query.h"
#include "engine/access/Session.h"
#include "engine/access/SessionList.h"
#include "platform/db/DatabaseError.h"

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
