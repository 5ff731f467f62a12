#include "app/core/WorkingFolder.h"

#include <algorithm>
#include <utility>

namespace {

std::filesystem::path& Folder() {
  static std::filesystem::path folder;
  return folder;
}

}  // namespace

std::filesystem::path WorkingFolder() {
  return Folder().empty() ? std::filesystem::current_path() : Folder();
}

std::filesystem::path SetWorkingFolder(std::filesystem::path folder) {
  return std::exchange(Folder(), std::move(folder));
}

std::string WorkingPath(std::string_view name) {
  std::string relative(name);
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return (Folder() / relative).string();
}
