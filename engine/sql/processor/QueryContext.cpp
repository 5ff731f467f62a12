#include "engine/sql/processor/QueryContext.h"

#include "engine/access/EngineRuntime.h"
#include "engine/access/Session.h"
#include "engine/access/SessionList.h"
#include "platform/db/DatabaseError.h"

TVTRDatabase* TVTRQueryContext::FindDatabase() const {
  TVTRSession* session = SessionList().FindSession(SessionName);
  return session ? session->FindDatabaseForOwner(DatabaseName, Owner) : nullptr;
}

TVTRDatabase& TVTRQueryContext::Database() const {
  TVTRDatabase* database = FindDatabase();
  if (database == nullptr) throw EDatabaseError("Cannot perform this operation on a closed database");
  return *database;
}
