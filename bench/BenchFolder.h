#pragma once
// A scratch folder for a benchmark's database files: made below the base
// folder with a unique name and removed, with everything in it, when it goes.
#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

class BenchFolder {
 public:
  // $TMPDIR, else /tmp.
  static std::string DefaultBase() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
  }

  BenchFolder(const std::string& base, const std::string& prefix) : path_(base + "/" + prefix + "-XXXXXX") {
    if (!::mkdtemp(path_.data())) throw std::runtime_error("cannot make a folder in " + base + ": " + std::strerror(errno));
  }
  ~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};
