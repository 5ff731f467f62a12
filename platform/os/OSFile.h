#pragma once
// A file of the operating system with positioned 64-bit I/O and byte-range
// locks that behave like the Windows ones the engine was designed for:
//
// - A lock is exclusive and never waits. A second lock on a held byte fails,
//   whether the holder is another process, another OSFile of this process on
//   the same file, or this very OSFile.
// - A lock lives exactly as long as the OSFile that took it (or until it is
//   unlocked); closing another descriptor of the same file never drops it, and
//   a process that dies loses all its locks.
//
// Locks are open-file-description locks (F_OFD_SETLK) plus a process-wide table
// of the ranges this process holds, keyed by the file's device and inode; the
// table supplies the conflicts inside the process that the kernel does not
// report for one descriptor. Taking an exclusive lock needs a descriptor that
// is open for writing; on a read-only one it reports kUnavailable.
//
// Every descriptor is opened with O_CLOEXEC. Errors raise EOSError, except
// where a result says otherwise.
#include <cstddef>
#include <cstdint>
#include <string>

enum class OSFileAccess { kReadOnly, kReadWrite };

// Exclusive locks conflict with every other lock; shared ones only with
// exclusive ones (for markers that say "this file is open here").
enum class LockKind { kExclusive, kShared };

enum class LockStatus {
  kGranted,
  kConflict,     // someone holds an overlapping byte
  kUnavailable,  // the file system or descriptor cannot lock (ENOLCK, EINVAL, EBADF, ...)
};

enum class RegionState { kFree, kLocked, kUnavailable };

// Which file a descriptor has open, whatever its name.
struct FileIdentity {
  uint64_t device;
  uint64_t inode;
  bool operator==(const FileIdentity&) const = default;
};

class OSFile {
 public:
  // A closed file.
  OSFile() = default;
  // Creates the file, replacing (emptying) an existing one; opened read-write.
  static OSFile Create(const std::string& path);
  // Opens an existing file.
  static OSFile Open(const std::string& path, OSFileAccess access);
  // Opens the file read-write, creating it when there is none with exactly
  // `permissions` (the umask does not apply); `created` tells which.
  static OSFile OpenOrCreate(const std::string& path, uint32_t permissions, bool& created);
  // Takes over an open descriptor (e.g. from mkostemp).
  static OSFile Adopt(int descriptor, const std::string& path);

  OSFile(OSFile&& other) noexcept;
  OSFile& operator=(OSFile&& other) noexcept;
  OSFile(const OSFile&) = delete;
  OSFile& operator=(const OSFile&) = delete;
  // Closes without reporting errors and releases this object's locks.
  ~OSFile();

  bool IsOpen() const { return descriptor_ >= 0; }
  const std::string& FileName() const { return path_; }
  int Descriptor() const { return descriptor_; }
  FileIdentity Identity() const { return {device_, inode_}; }
  // The permission bits (owner, group, others) the file has now.
  uint32_t Permissions() const;
  // Whether the file has lost its last name (someone deleted it) while open.
  bool IsUnlinked() const;

  // Reads up to count bytes at offset; fewer only at the end of the file.
  size_t ReadAt(void* buffer, size_t count, int64_t offset);
  // Writes all count bytes at offset. Space beyond the current end is reserved
  // first, so a full disk fails here before any byte is written, and the
  // file keeps its size. Callers serialise the growth of a shared file.
  void WriteAt(const void* buffer, size_t count, int64_t offset);
  int64_t Size() const;
  // Truncates, or extends with reserved, zero-filled space; an extension the
  // disk has no room for fails and leaves the file as it was.
  void SetSize(int64_t size);
  // Forces written data to the disk (fdatasync).
  void Flush();
  // Closes the descriptor and releases this object's locks; reports a failed close.
  void Close();

  // Locks [offset, offset + length) without waiting.
  LockStatus TryLock(int64_t offset, int64_t length, LockKind kind = LockKind::kExclusive);
  // Releases a range this object locked, given exactly as it was locked;
  // false when this object holds no such lock.
  bool Unlock(int64_t offset, int64_t length);
  // Whether any byte of the range is locked by anyone, this object included.
  // Takes no lock.
  RegionState ProbeLock(int64_t offset, int64_t length) const;
  // The same, ignoring the locks of this object.
  RegionState ProbeLockByOthers(int64_t offset, int64_t length) const;

 private:
  OSFile(int descriptor, std::string path);
  void CloseDescriptor() noexcept;
  RegionState Probe(int64_t offset, int64_t length, bool include_own) const;

  int descriptor_ = -1;
  std::string path_;
  uint64_t device_ = 0;
  uint64_t inode_ = 0;
  uint64_t lock_owner_ = 0;     // this object's key in the process-wide lock table
  int64_t known_min_size_ = 0;  // the file is at least this long: growth past it is reserved first
};
