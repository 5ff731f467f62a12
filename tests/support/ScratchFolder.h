#pragma once
// Test support: a fresh folder for one test's files, removed with everything
// in it, and a scope that makes a folder the system's temporary folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vtr-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp failed";
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }
  // The names of the files in the folder.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      names.push_back(entry.path().string());
    return names;
  }

 private:
  std::filesystem::path path_;
};

// Points $TMPDIR at a folder for the lifetime of the object.
class ScopedTemporaryFolder {
 public:
  explicit ScopedTemporaryFolder(const std::filesystem::path& folder) {
    if (const char* previous = std::getenv("TMPDIR")) previous_ = previous;
    ::setenv("TMPDIR", folder.c_str(), 1);
  }
  ~ScopedTemporaryFolder() {
    if (previous_)
      ::setenv("TMPDIR", previous_->c_str(), 1);
    else
      ::unsetenv("TMPDIR");
  }
  ScopedTemporaryFolder(const ScopedTemporaryFolder&) = delete;
  ScopedTemporaryFolder& operator=(const ScopedTemporaryFolder&) = delete;

 private:
  std::optional<std::string> previous_;
};
