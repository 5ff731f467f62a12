#include "platform/os/TemporaryFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/os/FileSystem.h"
#include "platform/os/OSError.h"

namespace {

OSFile CreateUnique(std::string_view prefix) {
  std::string pattern = TemporaryFolder();
  if (pattern.back() != '/') pattern.push_back('/');
  pattern.append(prefix).append("XXXXXX");
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int descriptor = ::mkostemp(name.data(), O_CLOEXEC);
  if (descriptor < 0) throw EOSError("Cannot create temporary file", pattern, errno);
  return OSFile::Adopt(descriptor, name.data());
}

}  // namespace

std::string TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder && *folder ? folder : "/tmp";
}

std::string CreateTemporaryFile(std::string_view prefix) {
  OSFile file = CreateUnique(prefix);
  std::string name = file.FileName();
  file.Close();
  return name;
}

TemporaryFile::TemporaryFile(std::string_view prefix) : file_(CreateUnique(prefix)) {}

TemporaryFile::~TemporaryFile() {
  if (!file_.IsOpen()) return;
  const std::string name = file_.FileName();
  file_ = OSFile();
  ::unlink(name.c_str());
}

void TemporaryFile::Close() {
  if (!file_.IsOpen()) return;
  const std::string name = file_.FileName();
  try {
    file_.Close();
  } catch (...) {
    ::unlink(name.c_str());
    throw;
  }
  DeleteFile(name);
}
