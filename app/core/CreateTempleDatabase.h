#pragma once
// The database file of a new installation: "dat_temple.vtr" with every table
// and index of TempleSchema() and the starting rows of the settings tables
// and of the user accounts (the user "admin" with the password "8052" at level
// 1, which the main windows advertise).
#include <filesystem>
#include <string>

#include "platform/rtl/Exception.h"

// The folder already holds the database file; nothing was changed.
class EDatabaseFileExists : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* kAdminUserName = "admin";
inline constexpr const char* kAdminPassword = "8052";

// Makes "dat_temple.vtr" in `folder` and returns its path. The file appears
// whole or not at all: it is built beside it and linked into place, so a
// failure or a kill leaves no database file, and an existing one (also one
// made meanwhile by someone else) is never touched: EDatabaseFileExists.
// Requires the engine runtime.
std::filesystem::path CreateTempleDatabase(const std::filesystem::path& folder);
