#pragma once
// The two settings a main window reads at start-up: the business type and the
// skin of the settings row (sys_sys), into myVar; an empty table gives empty
// texts. `database` is the main window's own connection, whose alias names the
// file; it is closed afterwards. A file that cannot be read raises the
// engine's error.
#include "engine/access/Database.h"

void ReadProgramSettings(TVTRDatabase& database);
