#pragma once
// The two settings a main window reads at start-up, the business type and the
// skin of the settings row, through its query `sys_sys` on its own connection
// `database` (alias `alias`).
#include <string>

#include "engine/access/Database.h"
#include "engine/access/Query.h"

// Gives `sys_sys` the connection and the statement of the two settings.
void SetUpSettingsQuery(TVTRQuery& sys_sys, const std::string& alias);

// Reads the settings into myVar (empty texts for an empty table), then closes
// the query and the connection. A file that cannot be read raises the
// engine's error.
void ReadProgramSettings(TVTRQuery& sys_sys, TVTRDatabase& database);
