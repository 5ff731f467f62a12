#include "platform/os/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/os/OSError.h"
#include "platform/os/OSFile.h"
#include "platform/rtl/Format.h"

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

void DeleteFile(const std::string& path) {
  if (::unlink(path.c_str()) != 0) throw EOSError("Cannot delete file", path, errno);
}

bool DeleteFileIfPresent(const std::string& path) {
  if (::unlink(path.c_str()) == 0) return true;
  if (errno == ENOENT) return false;
  throw EOSError("Cannot delete file", path, errno);
}

void SyncFolderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  const std::string name = folder.empty() ? "." : folder;
  const int descriptor = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) throw EOSError("Cannot open folder", name, errno);
  int result;
  do {
    result = ::fsync(descriptor);
  } while (result != 0 && errno == EINTR);
  const int error = errno;
  ::close(descriptor);
  if (result != 0) throw EOSError("Cannot flush folder", name, error);
}

void RenameFile(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0)
    throw EOSError("Cannot rename file", from + "\" to \"" + to, errno);
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
  static std::atomic<unsigned> serial{0};
  std::string beside;
  int descriptor;
  do {
    beside = Format("%s.%d-%u~", path, static_cast<int>(::getpid()), serial++);
    descriptor = ::open(beside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  } while (descriptor < 0 && errno == EEXIST);
  if (descriptor < 0) throw EOSError("Cannot create file", path, errno);
  try {
    OSFile file = OSFile::Adopt(descriptor, beside);
    file.WriteAt(bytes.data(), bytes.size(), 0);
    file.Flush();
    file.Close();
    RenameFile(beside, path);
  } catch (...) {
    ::unlink(beside.c_str());
    throw;
  }
}
