#include "engine/storage/pager/DatabaseFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/DatabaseHeader.h"
#include "engine/storage/pager/FileSeam.h"
#include "platform/os/OSError.h"

namespace {

// Marker bytes, far beyond any data of a database file.
constexpr int64_t kOpenMarker = INT64_MAX - 16;       // shared by every opener, exclusive by a sole one
constexpr int64_t kWriterMarker = INT64_MAX - 15;     // shared by every opener with write access
constexpr int64_t kDenyWriteMarker = INT64_MAX - 14;  // shared by openers that let others only read

constexpr int64_t kSignatureWindow = 10000;
// The signature and the header size behind it, which must lie whole in one window.
constexpr int64_t kSignatureRecord = kSignatureSize + 2;
constexpr int64_t kSignatureStep = kSignatureWindow - kSignatureRecord;

bool IsSignatureRecord(const uint8_t* p) {
  return std::memcmp(p, kDatabaseSignature.data(), kSignatureSize) == 0 &&
         LoadI16(p + kSignatureSize) == kFileHeaderSize;
}

}  // namespace

bool TVTRDatabaseFile::IsOpenAnywhere(const std::string& name) {
  try {
    const OSFile probe = OSFile::Open(name, OSFileAccess::kReadOnly);
    return probe.ProbeLock(kOpenMarker, 1) == RegionState::kLocked;
  } catch (const EOSError&) {
    return false;  // unreadable: the caller's own file operation decides
  }
}

void TVTRDatabaseFile::CheckOpen(const char* operation) const {
  if (!file_.IsOpen())
    throw EVTRException::CreateFmt(30376, "Cannot perform this operation (%s) on a closed file", operation);
}

void TVTRDatabaseFile::CheckClosed(const char* operation) const {
  if (file_.IsOpen())
    throw EVTRException::CreateFmt(30377, "Cannot perform this operation (%s) on a opened file", operation);
}

int64_t TVTRDatabaseFile::SizeForMessage() const {
  try {
    return file_.Size();
  } catch (const EOSError&) {
    return -1;
  }
}

void TVTRDatabaseFile::CreateFile(const std::string& name) {
  CheckClosed("CreateFile");
  if (name.empty()) throw EVTRException(30374, "Cannot create file with blank FileName");
  const auto fail = [&name](int error) {
    return EVTRException::CreateFmt(30361, "Cannot create file: '%s' Error code: %d. ErrorMessage: %s", name,
                                    error, SysErrorMessage(error));
  };
  // A new inode rather than a truncated one, so that nobody who had the old
  // file open ends up sharing the new one; read-only old files go too.
  if (IsOpenAnywhere(name)) throw fail(EBUSY);
  if (::unlink(name.c_str()) != 0 && errno != ENOENT) throw fail(errno);
  try {
    file_ = OSFile::Create(name);
  } catch (const EOSError& e) {
    throw fail(e.ErrorCode());
  }
  file_name_ = name;
  access_mode_ = famReadWrite;
  share_mode_ = fsmExclusive;
  locking_unsupported_ = false;
  if (!TakeShareMarkers(access_mode_, share_mode_)) {
    file_ = OSFile();
    throw fail(EBUSY);
  }
}

void TVTRDatabaseFile::OpenFile(const std::string& name, int access_mode, int share_mode) {
  CheckClosed("OpenFile");
  if (access_mode != famRead && access_mode != famReadWrite)
    throw EVTRException::CreateFmt(30366, "Unknown Access mode: '%d'", access_mode);
  if (share_mode < fsmExclusive || share_mode > fsmDenyWrite)
    throw EVTRException::CreateFmt(30367, "Unknown Share mode: '%d'", share_mode);
  const auto fail = [&name](int error) {
    return EVTRException::CreateFmt(30364, "Cannot open file:'%s' Error code: %d. ErrorMessage: %s", name,
                                    error, SysErrorMessage(error));
  };
  try {
    file_ =
        OSFile::Open(name, access_mode == famReadWrite ? OSFileAccess::kReadWrite : OSFileAccess::kReadOnly);
  } catch (const EOSError& e) {
    throw fail(e.ErrorCode());
  }
  file_name_ = name;
  access_mode_ = static_cast<TVTRFileAccessMode>(access_mode);
  share_mode_ = static_cast<TVTRFileShareMode>(share_mode);
  locking_unsupported_ = false;
  if (!TakeShareMarkers(access_mode_, share_mode_)) {
    file_ = OSFile();
    throw fail(EBUSY);
  }
}

bool TVTRDatabaseFile::OpenOrCreateFile(const std::string& name, uint32_t permissions, int32_t native_error) {
  CheckClosed("OpenOrCreateFile");
  bool created = false;
  try {
    file_ = OSFile::OpenOrCreate(name, permissions, created);
  } catch (const EOSError& e) {
    throw EVTRException::CreateFmt(native_error, "Cannot create file: '%s' Error code: %d. ErrorMessage: %s",
                                   name, e.ErrorCode(), SysErrorMessage(e.ErrorCode()));
  }
  file_name_ = name;
  access_mode_ = famReadWrite;
  share_mode_ = fsmDenyNone;
  locking_unsupported_ = false;
  return created;
}

uint32_t TVTRDatabaseFile::Permissions(int32_t native_error) {
  CheckOpen("Permissions");
  try {
    return file_.Permissions();
  } catch (const EOSError& e) {
    throw EVTRException::CreateFmt(native_error, "Cannot examine file: '%s'. ErrorCode:%d. ErrorMessage: %s",
                                   file_name_, e.ErrorCode(), SysErrorMessage(e.ErrorCode()));
  }
}

bool TVTRDatabaseFile::IsUnlinked() {
  CheckOpen("IsUnlinked");
  try {
    return file_.IsUnlinked();
  } catch (const EOSError&) {
    return true;
  }
}

bool TVTRDatabaseFile::TakeShareMarkers(TVTRFileAccessMode access, TVTRFileShareMode share) {
  // A file system without locks cannot keep share modes; the open goes ahead.
  const auto taken = [](LockStatus status) { return status != LockStatus::kConflict; };
  const LockKind open_kind = share == fsmExclusive ? LockKind::kExclusive : LockKind::kShared;
  if (!taken(file_.TryLock(kOpenMarker, 1, open_kind))) return false;
  // Each side marks itself before it looks for the other, so of two
  // simultaneous openers at least one sees the other.
  if (access == famReadWrite) {
    if (!taken(file_.TryLock(kWriterMarker, 1, LockKind::kShared))) return false;
    if (file_.ProbeLockByOthers(kDenyWriteMarker, 1) == RegionState::kLocked) return false;
  }
  if (share == fsmDenyWrite) {
    if (!taken(file_.TryLock(kDenyWriteMarker, 1, LockKind::kShared))) return false;
    if (file_.ProbeLockByOthers(kWriterMarker, 1) == RegionState::kLocked) return false;
  }
  return true;
}

void TVTRDatabaseFile::CloseFile() {
  CheckOpen("CloseFile");
  try {
    file_.Close();
  } catch (const EOSError& e) {
    throw EVTRException::CreateFmt(30365, "Cannot close file:'%s' Error code: %d. ErrorMessage: %s",
                                   file_name_, e.ErrorCode(), SysErrorMessage(e.ErrorCode()));
  }
}

bool TVTRDatabaseFile::ReadBuffer(void* buffer, int64_t count, int64_t position) {
  CheckOpen("ReadBuffer");
  if (count < 0 || position < 0) return false;
  try {
    ReadAt(buffer, count, position);
    return true;
  } catch (const EOSError&) {
    return false;
  }
}

void TVTRDatabaseFile::ReadAt(void* buffer, int64_t count, int64_t position) {
  if (TVTRFileSeam* seam = CurrentFileSeam()) seam->BeforeRead(file_name_, position, count);
  file_.ReadAt(buffer, static_cast<size_t>(count), position);
}

void TVTRDatabaseFile::ReadBufferChecked(void* buffer, int32_t native_error, int64_t position,
                                         int64_t count) {
  CheckOpen("ReadBufferChecked");
  int error = EINVAL;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (count < 0 || position < 0) break;
    try {
      ReadAt(buffer, count, position);
      return;
    } catch (const EOSError& e) {
      error = e.ErrorCode();
    }
  }
  throw EVTRException::CreateFmt(native_error,
                                 "Cannot Read from file: '%s' Position = %d, Count = %d, FilePosition = %d, "
                                 "FileSize = %d, ErrorCode:%d. ErrorMessage: %s",
                                 file_name_, position, count, position, SizeForMessage(), error,
                                 SysErrorMessage(error));
}

void TVTRDatabaseFile::WriteBuffer(const void* buffer, int32_t native_error, int64_t position,
                                   int64_t count) {
  CheckOpen("WriteBuffer");
  int error = EINVAL;
  if (count >= 0 && position >= 0) {
    TVTRFileSeam* seam = CurrentFileSeam();
    error = seam ? seam->BeforeWrite(file_name_, position, static_cast<const uint8_t*>(buffer), count) : 0;
    if (error == 0) {
      try {
        file_.WriteAt(buffer, static_cast<size_t>(count), position);
        return;
      } catch (const EOSError& e) {
        error = e.ErrorCode();
      }
    }
  }
  throw EVTRException::CreateFmt(native_error,
                                 "Cannot Write to file: '%s' Position = %d, Count = %d, FilePosition = %d, "
                                 "FileSize = %d, ErrorCode:%d. ErrorMessage: %s",
                                 file_name_, position, count, position, SizeForMessage(), error,
                                 SysErrorMessage(error));
}

void TVTRDatabaseFile::SetSize(int64_t size) {
  CheckOpen("SetSize");
  TVTRFileSeam* seam = CurrentFileSeam();
  int error = seam ? seam->BeforeSetSize(file_name_, size) : 0;
  if (error == 0) {
    try {
      file_.SetSize(size);
      return;
    } catch (const EOSError& e) {
      error = e.ErrorCode();
    }
  }
  throw EVTRException::CreateFmt(30370, "Cannot Truncate File '%s' to %d bytes. ErrorCode:%d. ErrorMessage: %s",
                                 file_name_, size, error, SysErrorMessage(error));
}

int64_t TVTRDatabaseFile::GetSize() {
  CheckOpen("GetSize");
  try {
    return file_.Size();
  } catch (const EOSError& e) {
    throw EVTRException::CreateFmt(30371,
                                   "Cannot Get File Size for file: '%s'. ErrorCode:%d. ErrorMessage: %s",
                                   file_name_, e.ErrorCode(), SysErrorMessage(e.ErrorCode()));
  }
}

void TVTRDatabaseFile::FlushFileBuffers() {
  CheckOpen("FlushFileBuffers");
  TVTRFileSeam* seam = CurrentFileSeam();
  int error = seam ? seam->BeforeFlush(file_name_) : 0;
  if (error == 0) {
    try {
      file_.Flush();
      return;
    } catch (const EOSError& e) {
      error = e.ErrorCode();
    }
  }
  throw EVTRException::CreateFmt(30379, "Cannot flush file buffers for file: '%s'. ErrorCode:%d. ErrorMessage: %s",
                                 file_name_, error, SysErrorMessage(error));
}

bool TVTRDatabaseFile::LockByte(int64_t offset, int64_t length) {
  CheckOpen("LockByte");
  try {
    switch (LockingUnavailable(offset, length) ? LockStatus::kUnavailable : file_.TryLock(offset, length)) {
      case LockStatus::kGranted:
        return true;
      case LockStatus::kConflict:
        return false;
      case LockStatus::kUnavailable:
        break;
    }
  } catch (const EOSError&) {
    return false;  // an invalid range, not a missing facility
  }
  locking_unsupported_ = true;
  return true;
}

bool TVTRDatabaseFile::UnlockByte(int64_t offset, int64_t length) {
  CheckOpen("UnlockByte");
  // Without locking, the lock that is given back was never taken.
  return file_.Unlock(offset, length) || locking_unsupported_;
}

bool TVTRDatabaseFile::LockingUnavailable(int64_t offset, int64_t length) const {
  TVTRFileSeam* seam = CurrentFileSeam();
  return seam != nullptr && seam->LockingUnavailable(file_name_, offset, length);
}

bool TVTRDatabaseFile::IsRegionLocked(int64_t offset, int64_t length) {
  CheckOpen("IsRegionLocked");
  try {
    return file_.ProbeLock(offset, length) == RegionState::kLocked;
  } catch (const EOSError&) {
    return true;  // an invalid range can never be locked by the caller either
  }
}

bool TVTRDatabaseFile::FindSignature(int64_t& base) {
  CheckOpen("FindSignature");
  std::vector<uint8_t> window(kSignatureWindow, 0);
  if (ReadBuffer(window.data(), kSignatureRecord, 0) && IsSignatureRecord(window.data())) {
    base = 0;
    return true;
  }
  const int64_t size = GetSize();
  for (int64_t start = 0; start < size; start += kSignatureStep) {
    const int64_t length = std::min(kSignatureWindow, size - start);
    if (length < kSignatureRecord) break;
    if (!ReadBuffer(window.data(), length, start)) return false;
    const uint8_t* const first = window.data();
    const uint8_t* const last = first + (length - kSignatureRecord);  // the last offset whose record fits
    for (const uint8_t* p = first; p <= last; ++p) {
      p = static_cast<const uint8_t*>(
          std::memchr(p, kDatabaseSignature[0], static_cast<size_t>(last - p + 1)));
      if (p == nullptr) break;
      if (IsSignatureRecord(p)) {
        base = start + (p - first);
        return true;
      }
    }
  }
  return false;
}
