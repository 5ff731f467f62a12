#include "engine/access/Database.h"

#include "platform/db/DatabaseError.h"

void TVTRDatabase::RepairDatabase(std::string& error_text) {
  error_text.clear();
  DatabaseError("Database repair is not available");
}
