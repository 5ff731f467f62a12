#pragma once
// The database component every window of the programs makes for itself: the
// alias it names, on "dat_temple.vtr" of the working folder, shared with other
// users and copies of the program (up to 500 connections).
#include <string>

#include "engine/access/Database.h"

// `keep_connection` false disconnects once the window's last dataset closes.
void SetUpWindowDatabase(TVTRDatabase& database, const std::string& alias, bool keep_connection);
