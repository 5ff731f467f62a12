#pragma once
// The program's working folder, where every relative name of the programs
// resolves: the database file, the logo, the picture folders, the CSV exports
// and the licence text. Until a folder is set it is the process's current
// folder. Tests point it at a folder of their own.
#include <filesystem>
#include <string>
#include <string_view>

inline constexpr std::string_view kDatabaseFileName = "dat_temple.vtr";
inline constexpr std::string_view kLogoFileName = "mylogo.jpg";
inline constexpr std::string_view kPersonPictureFolder = "person_pict";
inline constexpr std::string_view kGoodsPictureFolder = "picture";
inline constexpr std::string_view kCsvFolder = "CSV";
inline constexpr std::string_view kLicenceFileName = "OrvaneLc.txt";

std::filesystem::path WorkingFolder();
// Returns the folder set before (empty: the current folder).
std::filesystem::path SetWorkingFolder(std::filesystem::path folder);

// The path of a name as the programs write it, relative to the working folder
// with "\" between folders ("CSV\รายการบริจาค.csv"). An absolute name stays as
// it is.
std::string WorkingPath(std::string_view name);
