#include "app/core/WindowParts.h"

#include "app/core/WorkingFolder.h"
#include "engine/access/Database.h"

TVTRDatabase& MakeWindowDatabase(TComponent& owner, const std::string& name, const std::string& alias) {
  auto* database = new TVTRDatabase(&owner);
  database->SetName(name);
  database->SetDatabaseName(alias);
  database->SetDatabaseFileName(WorkingPath(kDatabaseFileName));
  database->SetSessionName("Default");
  database->Exclusive = false;
  database->MultiUser = true;
  database->MaxConnections = 500;
  return *database;
}
