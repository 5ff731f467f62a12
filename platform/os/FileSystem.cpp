#include "platform/os/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/os/OSError.h"

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

void DeleteFile(const std::string& path) {
  if (::unlink(path.c_str()) != 0) throw EOSError("Cannot delete file", path, errno);
}

void RenameFile(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0)
    throw EOSError("Cannot rename file", from + "\" to \"" + to, errno);
}
