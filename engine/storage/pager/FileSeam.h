#pragma once
// A test seam in the database file layer. Every read, write, size change,
// flush and byte lock of a TVTRDatabaseFile passes the seam installed for the
// process, if any (none outside tests), before it reaches the operating
// system. The seam sees the bytes and positions of each write and each flush
// in their order, so a test can count reads, check the order of a commit's
// writes and syncs, keep the file as it stood at the last flush to play a power loss,
// fail a write or a growth as a full or failing disk would, or make a file
// system that cannot lock.
//
// A seam is called on the engine's thread, with the file name the file was
// opened with; it must outlive every call made while it is installed.
#include <cstdint>
#include <string>

class TVTRFileSeam {
 public:
  virtual ~TVTRFileSeam() = default;

  // Each answers 0 to let the operation go ahead, or an errno value: the
  // operation then fails with that error as if the operating system had
  // refused it, and nothing reaches the file.
  virtual int BeforeWrite(const std::string& file, int64_t position, const uint8_t* data, int64_t count) {
    return 0;
  }
  virtual int BeforeSetSize(const std::string& file, int64_t size) { return 0; }
  virtual int BeforeFlush(const std::string& file) { return 0; }
  // True: the lock call fails as on a file system without byte locks.
  virtual bool LockingUnavailable(const std::string& file, int64_t offset, int64_t length) { return false; }
  // Sees every read before it is made; it cannot refuse one.
  virtual void BeforeRead(const std::string& file, int64_t position, int64_t count) {}
};

// The installed seam, or nullptr.
TVTRFileSeam* CurrentFileSeam();

// Installs a seam for a scope and restores the previous one after it.
class ScopedFileSeam {
 public:
  explicit ScopedFileSeam(TVTRFileSeam& seam);
  ~ScopedFileSeam();
  ScopedFileSeam(const ScopedFileSeam&) = delete;
  ScopedFileSeam& operator=(const ScopedFileSeam&) = delete;

 private:
  TVTRFileSeam* previous_;
};
