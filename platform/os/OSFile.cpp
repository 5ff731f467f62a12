#include "platform/os/OSFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <utility>

#include "platform/os/ByteLockTable.h"
#include "platform/os/OSError.h"
#include "platform/rtl/Format.h"

namespace {

int OpenDescriptor(const std::string& path, int flags) {
  int descriptor;
  do {
    descriptor = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  } while (descriptor < 0 && errno == EINTR);
  return descriptor;
}

// Reserves [from, to) of the file; 0 or the error. A reservation that fails
// part-way (a full disk, or the byte-by-byte emulation of a file system
// without fallocate) is cut off again, so the file keeps its size.
int Reserve(int descriptor, int64_t from, int64_t to) {
  int error;
  do {
    error = ::posix_fallocate(descriptor, from, to - from);
  } while (error == EINTR);
  if (error != 0) {
    while (::ftruncate(descriptor, from) != 0 && errno == EINTR) {
    }
  }
  return error;
}

bool ValidRange(int64_t offset, int64_t length) {
  return offset >= 0 && length > 0 && offset <= INT64_MAX - length;
}

struct flock LockRequest(short type, int64_t offset, int64_t length) {
  struct flock request {};
  request.l_type = type;
  request.l_whence = SEEK_SET;
  request.l_start = offset;
  request.l_len = length;
  return request;  // l_pid stays 0, as open-file-description locks require
}

int SetLock(int descriptor, struct flock request) {
  int result;
  do {
    result = ::fcntl(descriptor, F_OFD_SETLK, &request);
  } while (result < 0 && errno == EINTR);
  return result < 0 ? errno : 0;
}

}  // namespace

OSFile::OSFile(int descriptor, std::string path) : descriptor_(descriptor), path_(std::move(path)) {
  struct stat info {};
  if (::fstat(descriptor_, &info) != 0) {
    const int error = errno;
    ::close(descriptor_);
    descriptor_ = -1;
    throw EOSError("Cannot examine file", path_, error);
  }
  device_ = info.st_dev;
  inode_ = info.st_ino;
  known_min_size_ = info.st_size;
  lock_owner_ = ByteLockTable::Instance().NewOwner();
}

OSFile OSFile::Create(const std::string& path) {
  const int descriptor = OpenDescriptor(path, O_RDWR | O_CREAT | O_TRUNC);
  if (descriptor < 0) throw EOSError("Cannot create file", path, errno);
  return OSFile(descriptor, path);
}

OSFile OSFile::Open(const std::string& path, OSFileAccess access) {
  const int descriptor = OpenDescriptor(path, access == OSFileAccess::kReadWrite ? O_RDWR : O_RDONLY);
  if (descriptor < 0) throw EOSError("Cannot open file", path, errno);
  return OSFile(descriptor, path);
}

OSFile OSFile::OpenOrCreate(const std::string& path, uint32_t permissions, bool& created) {
  for (;;) {
    int descriptor = OpenDescriptor(path, O_RDWR | O_CREAT | O_EXCL);
    if (descriptor >= 0) {
      OSFile file(descriptor, path);
      if (::fchmod(descriptor, static_cast<mode_t>(permissions)) != 0)
        throw EOSError("Cannot set the permissions of file", path, errno);
      created = true;
      return file;
    }
    if (errno != EEXIST) throw EOSError("Cannot create file", path, errno);
    descriptor = OpenDescriptor(path, O_RDWR);
    if (descriptor >= 0) {
      created = false;
      return OSFile(descriptor, path);
    }
    // Deleted between the two calls: try to create it again.
    if (errno != ENOENT) throw EOSError("Cannot open file", path, errno);
  }
}

OSFile OSFile::Adopt(int descriptor, const std::string& path) {
  return OSFile(descriptor, path);
}

OSFile::OSFile(OSFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)),
      path_(std::move(other.path_)),
      device_(other.device_),
      inode_(other.inode_),
      lock_owner_(std::exchange(other.lock_owner_, 0)),
      known_min_size_(other.known_min_size_) {}

OSFile& OSFile::operator=(OSFile&& other) noexcept {
  if (this != &other) {
    CloseDescriptor();
    descriptor_ = std::exchange(other.descriptor_, -1);
    path_ = std::move(other.path_);
    device_ = other.device_;
    inode_ = other.inode_;
    lock_owner_ = std::exchange(other.lock_owner_, 0);
    known_min_size_ = other.known_min_size_;
  }
  return *this;
}

OSFile::~OSFile() {
  CloseDescriptor();
}

void OSFile::CloseDescriptor() noexcept {
  if (descriptor_ < 0) return;
  ByteLockTable& table = ByteLockTable::Instance();
  std::lock_guard guard(table.Mutex());
  // Closing the only descriptor of the open file description releases its
  // kernel locks; the table entries go in the same step.
  ::close(descriptor_);
  descriptor_ = -1;
  table.RemoveOwner(lock_owner_);
}

void OSFile::Close() {
  if (descriptor_ < 0) return;
  ByteLockTable& table = ByteLockTable::Instance();
  std::lock_guard guard(table.Mutex());
  const int result = ::close(descriptor_);
  const int error = errno;
  descriptor_ = -1;
  table.RemoveOwner(lock_owner_);
  // A failed close (EIO on a network file system) may mean lost writes; EINTR
  // still closed the descriptor on Linux.
  if (result != 0 && error != EINTR) throw EOSError("Cannot close file", path_, error);
}

size_t OSFile::ReadAt(void* buffer, size_t count, int64_t offset) {
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(descriptor_, static_cast<char*>(buffer) + done,
                              std::min<size_t>(count - done, SSIZE_MAX), offset + static_cast<int64_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EOSError(Format("Cannot read %d bytes at %d from file", count, offset), path_, errno);
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

void OSFile::WriteAt(const void* buffer, size_t count, int64_t offset) {
  if (count == 0) return;
  const int64_t end = offset + static_cast<int64_t>(count);
  if (end > known_min_size_) {
    // Another process may have grown the file since this object last looked.
    known_min_size_ = Size();
    if (end > known_min_size_) {
      const int error = Reserve(descriptor_, known_min_size_, end);
      if (error != 0)
        throw EOSError(
            Format("Cannot reserve %d bytes at %d in file", end - known_min_size_, known_min_size_), path_,
            error);
      known_min_size_ = end;
    }
  }
  size_t done = 0;
  while (done < count) {
    const ssize_t n =
        ::pwrite(descriptor_, static_cast<const char*>(buffer) + done,
                 std::min<size_t>(count - done, SSIZE_MAX), offset + static_cast<int64_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EOSError(Format("Cannot write %d bytes at %d to file", count, offset), path_, errno);
    }
    done += static_cast<size_t>(n);
  }
}

int64_t OSFile::Size() const {
  struct stat info {};
  if (::fstat(descriptor_, &info) != 0) throw EOSError("Cannot get the size of file", path_, errno);
  return info.st_size;
}

uint32_t OSFile::Permissions() const {
  struct stat info {};
  if (::fstat(descriptor_, &info) != 0) throw EOSError("Cannot examine file", path_, errno);
  return info.st_mode & 0777;
}

bool OSFile::IsUnlinked() const {
  struct stat info {};
  if (::fstat(descriptor_, &info) != 0) throw EOSError("Cannot examine file", path_, errno);
  return info.st_nlink == 0;
}

void OSFile::SetSize(int64_t size) {
  if (size < 0) throw EOSError(Format("Cannot set size %d of file", size), path_, EINVAL);
  const int64_t current = Size();
  int error = 0;
  if (size < current) {
    while (::ftruncate(descriptor_, size) != 0) {
      if (errno != EINTR) {
        error = errno;
        break;
      }
    }
  } else if (size > current) {
    error = Reserve(descriptor_, current, size);
  }
  if (error != 0) throw EOSError(Format("Cannot set size %d of file", size), path_, error);
  known_min_size_ = size;
}

void OSFile::Flush() {
  while (::fdatasync(descriptor_) != 0) {
    if (errno != EINTR) throw EOSError("Cannot flush file", path_, errno);
  }
}

LockStatus OSFile::TryLock(int64_t offset, int64_t length, LockKind kind) {
  if (!ValidRange(offset, length))
    throw EOSError(Format("Cannot lock %d bytes at %d of file", length, offset), path_, EINVAL);
  ByteLockTable& table = ByteLockTable::Instance();
  const FileIdentity file{device_, inode_};
  std::lock_guard guard(table.Mutex());
  if (table.Conflicts(file, lock_owner_, offset, offset + length, kind)) return LockStatus::kConflict;
  const int error =
      SetLock(descriptor_, LockRequest(kind == LockKind::kExclusive ? F_WRLCK : F_RDLCK, offset, length));
  if (error == EAGAIN || error == EACCES) return LockStatus::kConflict;
  if (error != 0) return LockStatus::kUnavailable;
  table.Add({file, lock_owner_, offset, offset + length, kind});
  return LockStatus::kGranted;
}

bool OSFile::Unlock(int64_t offset, int64_t length) {
  if (!ValidRange(offset, length)) return false;
  ByteLockTable& table = ByteLockTable::Instance();
  std::lock_guard guard(table.Mutex());
  const std::optional<ByteLockTable::Range> held = table.Remove(lock_owner_, offset, offset + length);
  if (!held) return false;
  if (SetLock(descriptor_, LockRequest(F_UNLCK, offset, length)) != 0) {
    // The kernel still holds the range, so the table must keep saying so.
    table.Add(*held);
    return false;
  }
  return true;
}

RegionState OSFile::ProbeLock(int64_t offset, int64_t length) const {
  return Probe(offset, length, true);
}

RegionState OSFile::ProbeLockByOthers(int64_t offset, int64_t length) const {
  return Probe(offset, length, false);
}

RegionState OSFile::Probe(int64_t offset, int64_t length, bool include_own) const {
  if (!ValidRange(offset, length))
    throw EOSError(Format("Cannot probe %d bytes at %d of file", length, offset), path_, EINVAL);
  ByteLockTable& table = ByteLockTable::Instance();
  std::lock_guard guard(table.Mutex());
  if (table.Overlaps({device_, inode_}, include_own ? 0 : lock_owner_, offset, offset + length))
    return RegionState::kLocked;
  // F_OFD_GETLK reports the locks of every other open file description,
  // including those of other processes; it never takes a lock.
  struct flock request = LockRequest(F_WRLCK, offset, length);
  if (::fcntl(descriptor_, F_OFD_GETLK, &request) != 0) return RegionState::kUnavailable;
  return request.l_type == F_UNLCK ? RegionState::kFree : RegionState::kLocked;
}
