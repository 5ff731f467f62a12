#pragma once
// Test support: a file seam (engine/storage/pager/FileSeam.h) that records
// the writes, size changes and flushes of one database file in their order,
// and can play a full disk: while `disk_full` is set, growing the file or
// writing past its end fails with ENOSPC and leaves the file as it was; or a
// failing one: while `write_error` is set, every write and growth fails with it.
#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/storage/pager/FileSeam.h"
#include "platform/os/OSFile.h"

struct FileEvent {
  enum Kind { kWrite, kSetSize, kFlush };
  Kind kind;
  int64_t position = 0;        // a write's position, a size change's new size
  std::vector<uint8_t> bytes;  // a write's bytes
};

class RecordingFileSeam : public TVTRFileSeam {
 public:
  explicit RecordingFileSeam(std::string file) : file_(std::move(file)) {}

  int BeforeWrite(const std::string& file, int64_t position, const uint8_t* data, int64_t count) override {
    if (file != file_) return 0;
    if (write_error != 0) return write_error;
    if (disk_full && position + count > CurrentSize()) return ENOSPC;
    events.push_back({FileEvent::kWrite, position, std::vector<uint8_t>(data, data + count)});
    return 0;
  }
  int BeforeSetSize(const std::string& file, int64_t size) override {
    if (file != file_) return 0;
    if (write_error != 0) return write_error;
    if (disk_full && size > CurrentSize()) return ENOSPC;
    events.push_back({FileEvent::kSetSize, size, {}});
    return 0;
  }
  int BeforeFlush(const std::string& file) override {
    if (file == file_) events.push_back({FileEvent::kFlush, 0, {}});
    return 0;
  }

  std::vector<FileEvent> events;
  bool disk_full = false;
  int write_error = 0;

 private:
  int64_t CurrentSize() const { return OSFile::Open(file_, OSFileAccess::kReadOnly).Size(); }

  std::string file_;
};
