#pragma once
// Temporary files in the system's temporary folder ($TMPDIR, else /tmp).
#include <string>
#include <string_view>

#include "platform/os/OSFile.h"

std::string TemporaryFolder();

// Creates a new, empty file named <folder>/<prefix>XXXXXX with a unique suffix
// and returns its name; the caller deletes it.
std::string CreateTemporaryFile(std::string_view prefix = "VTR");

// An open temporary file that is deleted when closed or destroyed.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string_view prefix = "VTR");
  TemporaryFile(TemporaryFile&& other) noexcept = default;
  TemporaryFile& operator=(TemporaryFile&&) = delete;
  ~TemporaryFile();

  OSFile& File() { return file_; }
  const std::string& FileName() const { return file_.FileName(); }
  // Closes and deletes the file; reports failures.
  void Close();

 private:
  OSFile file_;
};
