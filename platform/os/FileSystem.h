#pragma once
// Whole-file operations on names. Failures raise EOSError.
#include <string>
#include <string_view>

// Whether a file (not a directory) of that name exists.
bool FileExists(const std::string& path);
void DeleteFile(const std::string& path);
// Deletes the file; false when there was none.
bool DeleteFileIfPresent(const std::string& path);
// Forces the names in the file's folder to the disk, so that a file created
// there, or one deleted, stays so after a power loss.
void SyncFolderOf(const std::string& path);
// One rename(): atomically replaces an existing target on the same file system.
void RenameFile(const std::string& from, const std::string& to);
// Makes the file hold exactly these bytes: they go to a new file beside it,
// reach the disk, and the new file is renamed over the old one. Readers see the
// old file or the new one; a failure leaves the old file (or none) and no
// partial file behind.
void WriteWholeFile(const std::string& path, std::string_view bytes);
