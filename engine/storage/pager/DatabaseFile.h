#pragma once
// TVTRDatabaseFile: the one file object through which every byte of a
// database is read, written and locked, with the engine's error messages.
//
// Locks are exclusive, never wait, and conflict inside the process too (see
// OSFile). Only a file system that cannot lock at all makes a failed lock or
// unlock count as success (LockingUnsupported); a lock held by anyone, this
// object included, always makes LockByte fail.
//
// Windows share modes are kept with marker locks far beyond any data: every
// opener holds a shared lock on the open marker, an exclusive opener an
// exclusive one, so an exclusive open fails while the file is open elsewhere
// and the other way round.
//
// The object takes no lock of its own: its owner serialises every call.
#include <cstdint>
#include <string>

#include "platform/os/OSFile.h"

enum TVTRFileAccessMode : uint8_t {
  famRead = 0,
  famReadWrite = 1,
};

enum TVTRFileShareMode : uint8_t {
  fsmExclusive = 0,  // shares nothing
  fsmDenyNone = 1,   // others may read and write
  fsmDenyWrite = 2,  // others may only read
};

class TVTRDatabaseFile {
 public:
  TVTRDatabaseFile() = default;
  TVTRDatabaseFile(const TVTRDatabaseFile&) = delete;
  TVTRDatabaseFile& operator=(const TVTRDatabaseFile&) = delete;
  // Closes an open file without reporting errors; CloseFile reports them.
  ~TVTRDatabaseFile() = default;

  // Replaces any file of that name (refused while it is open anywhere);
  // opened read-write and shared with nobody.
  void CreateFile(const std::string& name);
  // access_mode and share_mode take the stored numbers; others raise 30366 / 30367.
  void OpenFile(const std::string& name, int access_mode, int share_mode);
  // Opens a file beside a database (its journal) read-write, creating it with
  // exactly `permissions` when there is none; true when it was created. No
  // share markers: the database file's own keep the share modes.
  bool OpenOrCreateFile(const std::string& name, uint32_t permissions, int32_t native_error);
  void CloseFile();

  // Whether any database file object, of this process or another, has the
  // file of that name open. Takes no lock; false for a file that cannot be read.
  static bool IsOpenAnywhere(const std::string& name);

  bool IsOpen() const { return file_.IsOpen(); }
  const std::string& FileName() const { return file_name_; }
  TVTRFileAccessMode AccessMode() const { return access_mode_; }
  bool IsWritable() const { return access_mode_ == famReadWrite; }
  bool LockingUnsupported() const { return locking_unsupported_; }
  FileIdentity Identity() const { return file_.Identity(); }
  // The file's permission bits; raises native_error when they cannot be had.
  uint32_t Permissions(int32_t native_error);
  // Whether the open file has lost its name; one that cannot be examined counts as lost.
  bool IsUnlinked();

  // Reads count bytes at position; false on an I/O error. A read at or past
  // the end succeeds and leaves the rest of the buffer as it was.
  bool ReadBuffer(void* buffer, int64_t count, int64_t position);
  // ReadBuffer, once more on failure, then raises with native_error.
  void ReadBufferChecked(void* buffer, int32_t native_error, int64_t position, int64_t count);
  void WriteBuffer(const void* buffer, int32_t native_error, int64_t position, int64_t count);
  // Truncates, or extends with reserved space (a full disk fails here).
  void SetSize(int64_t size);
  int64_t GetSize();
  // Forces written data to the disk.
  void FlushFileBuffers();

  bool LockByte(int64_t offset, int64_t length = 1);
  bool UnlockByte(int64_t offset, int64_t length = 1);
  // Whether anyone, this object included, holds a byte of the range. Takes no lock.
  bool IsByteLocked(int64_t offset) { return IsRegionLocked(offset, 1); }
  bool IsRegionLocked(int64_t offset, int64_t length);

  // The offset of the file header inside a larger file: 0 when the file
  // starts with it, else the first offset holding the signature followed by
  // the header size 76. False when there is none.
  bool FindSignature(int64_t& base);

 private:
  void CheckOpen(const char* operation) const;
  void CheckClosed(const char* operation) const;
  // A read past the test seam; raises EOSError.
  void ReadAt(void* buffer, int64_t count, int64_t position);
  bool TakeShareMarkers(TVTRFileAccessMode access, TVTRFileShareMode share);
  // Whether the test seam makes this lock call fail as without byte locks.
  bool LockingUnavailable(int64_t offset, int64_t length) const;
  int64_t SizeForMessage() const;

  std::string file_name_;
  TVTRFileAccessMode access_mode_ = famReadWrite;
  TVTRFileShareMode share_mode_ = fsmExclusive;
  OSFile file_;
  bool locking_unsupported_ = false;
};
