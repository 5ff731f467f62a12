#pragma once
// Whole-file operations on names. Failures raise EOSError.
#include <string>

// Whether a file (not a directory) of that name exists.
bool FileExists(const std::string& path);
void DeleteFile(const std::string& path);
// One rename(): atomically replaces an existing target on the same file system.
void RenameFile(const std::string& from, const std::string& to);
