#include "engine/foundation/stream/VTRFileStream.h"

#include <unistd.h>

#include "engine/foundation/VTRExcept.h"
#include "platform/os/OSError.h"

TVTRFileStream::TVTRFileStream(const std::string& file_name, uint16_t mode, bool is_temporary)
    : file_name_(file_name), mode_(mode), is_temporary_(is_temporary) {
  if (mode == fmCreate) {
    try {
      file_ = OSFile::Create(file_name);
    } catch (const EOSError&) {
      throw EVTRException::CreateFmt(10104, "Cannot create file. FileName = %s", file_name);
    }
    return;
  }
  const int access = mode & 3;
  try {
    if (access == 3) throw EOSError("Cannot open file", file_name, EINVAL);
    file_ = OSFile::Open(file_name, access == 0 ? OSFileAccess::kReadOnly : OSFileAccess::kReadWrite);
  } catch (const EOSError&) {
    throw EVTRException::CreateFmt(10105, "Cannot open file. FileName = %s, Mode = %d", file_name, mode);
  }
}

TVTRFileStream::~TVTRFileStream() {
  if (!file_.IsOpen()) return;
  file_ = OSFile();
  if (is_temporary_) ::unlink(file_name_.c_str());
}

int32_t TVTRFileStream::Read(void* buffer, int32_t count) {
  if (count < 1) return 0;
  try {
    const auto n = static_cast<int32_t>(file_.ReadAt(buffer, static_cast<size_t>(count), position_));
    position_ += n;
    return n;
  } catch (const EOSError&) {
    return 0;
  }
}

int32_t TVTRFileStream::Write(const void* buffer, int32_t count) {
  if (count < 1) return 0;
  try {
    file_.WriteAt(buffer, static_cast<size_t>(count), position_);
  } catch (const EOSError&) {
    return 0;
  }
  position_ += count;
  return count;
}

int64_t TVTRFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base =
      origin == TSeekOrigin::soBeginning ? 0 : (origin == TSeekOrigin::soCurrent ? position_ : file_.Size());
  if (offset > INT64_MAX - base || base + offset < 0) return -1;
  position_ = base + offset;
  return position_;
}

void TVTRFileStream::SetSize(int64_t new_size) {
  file_.SetSize(new_size);
  if (new_size < position_) position_ = new_size;
}
