#pragma once
// Points the program's working folder at a folder for the lifetime of the object.
#include <filesystem>
#include <utility>

#include "app/core/WorkingFolder.h"

class ScopedWorkingFolder {
 public:
  explicit ScopedWorkingFolder(std::filesystem::path folder)
      : previous_(SetWorkingFolder(std::move(folder))) {}
  ~ScopedWorkingFolder() { SetWorkingFolder(previous_); }
  ScopedWorkingFolder(const ScopedWorkingFolder&) = delete;
  ScopedWorkingFolder& operator=(const ScopedWorkingFolder&) = delete;

 private:
  std::filesystem::path previous_;
};
