#pragma once
// Test support for helper processes: a file seam (engine/storage/pager/FileSeam.h)
// that stops the process at a chosen write to a database file or its journal,
// counted from 1 since Arm():
//   kKill   ends the process with SIGKILL before that write reaches the file,
//           that is right after the write before it;
//   kCut    lets only the bytes up to the next boundary of a 4 KiB memory
//           page (or half the write, when it stays inside one) reach the
//           file, then kills: a write that the system cut short;
//   kPause  prints "paused" and waits for a line on standard input before the
//           write goes ahead, so that the test can act while the commit is
//           half done (or kill the process there).
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/storage/pager/FileSeam.h"
#include "engine/storage/pager/JournalFormat.h"

class StoppingFileSeam : public TVTRFileSeam {
 public:
  enum Action { kKill, kCut, kPause };

  explicit StoppingFileSeam(const std::string& database)
      : database_(database), journal_(JournalFileName(database)) {}

  void Arm(int64_t at, Action action) {
    armed_ = true;
    at_ = at;
    action_ = action;
    writes_ = 0;
  }
  void Disarm() { armed_ = false; }

  int BeforeWrite(const std::string& file, int64_t position, const uint8_t* data, int64_t count) override {
    if (!armed_ || (file != database_ && file != journal_) || ++writes_ != at_) return 0;
    if (action_ == kPause) {
      std::printf("paused\n");
      std::fflush(stdout);
      char byte;
      while (::read(STDIN_FILENO, &byte, 1) == 1 && byte != '\n') {
      }
      return 0;
    }
    if (action_ == kCut) WritePart(file, position, data, count);
    ::kill(::getpid(), SIGKILL);
    return 0;
  }

 private:
  static void WritePart(const std::string& file, int64_t position, const uint8_t* data, int64_t count) {
    constexpr int64_t kMemoryPage = 4096;
    const int64_t to_boundary = kMemoryPage - position % kMemoryPage;
    const int64_t part = to_boundary < count ? to_boundary : count / 2;
    const int descriptor = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    if (descriptor >= 0 && ::pwrite(descriptor, data, static_cast<size_t>(part), position) != part)
      std::printf("the cut write failed\n");
  }

  std::string database_;
  std::string journal_;
  bool armed_ = false;
  int64_t at_ = 0;
  Action action_ = kKill;
  int64_t writes_ = 0;
};
