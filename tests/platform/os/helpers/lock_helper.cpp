// Usage: os_lock_helper FILE hold|hold-shared|try|probe OFFSET LENGTH
// Prints the outcome (granted, conflict, unavailable, free, locked) on one line.
// "hold" and "hold-shared" then keep the lock until standard input closes or
// the process is killed.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/os/OSFile.h"

namespace {

const char* StatusText(LockStatus status) {
  switch (status) {
    case LockStatus::kGranted:
      return "granted";
    case LockStatus::kConflict:
      return "conflict";
    case LockStatus::kUnavailable:
      return "unavailable";
  }
  return "?";
}

const char* StateText(RegionState state) {
  switch (state) {
    case RegionState::kFree:
      return "free";
    case RegionState::kLocked:
      return "locked";
    case RegionState::kUnavailable:
      return "unavailable";
  }
  return "?";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return 2;
  const std::string command = argv[2];
  const int64_t offset = std::strtoll(argv[3], nullptr, 10);
  const int64_t length = std::strtoll(argv[4], nullptr, 10);
  OSFile file = OSFile::Open(argv[1], OSFileAccess::kReadWrite);
  if (command == "probe") {
    std::printf("%s\n", StateText(file.ProbeLock(offset, length)));
    return 0;
  }
  const LockKind kind = command == "hold-shared" ? LockKind::kShared : LockKind::kExclusive;
  std::printf("%s\n", StatusText(file.TryLock(offset, length, kind)));
  std::fflush(stdout);
  if (command == "try") return 0;
  char byte;
  while (::read(STDIN_FILENO, &byte, 1) > 0) {
  }
  return 0;
}
