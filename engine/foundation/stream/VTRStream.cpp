#include "engine/foundation/stream/VTRStream.h"

#include <algorithm>
#include <memory>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/stream/VTRStreamMessages.h"

void TVTRStream::SaveToStream(TStream& dest) {
  if (block_size_ <= 0) throw EVTRException(10418, kBlockSizeZeroMessage);
  const int64_t own_position = Position();
  const int64_t dest_position = dest.Position();
  SetPosition(0);
  NotifyProgress(0);
  const int64_t size = Size();
  const auto buffer = std::make_unique_for_overwrite<char[]>(std::min<int64_t>(block_size_, size));
  for (int64_t copied = 0; copied < size;) {
    const auto n = static_cast<int32_t>(std::min<int64_t>(block_size_, size - copied));
    const int64_t read_position = Position();
    const int32_t read = Read(buffer.get(), n);
    if (read != n) throw EVTRException::CreateFmt(10146, kReadFailedFormat, read_position, Size(), n, read);
    const int64_t write_position = dest.Position();
    const int32_t written = dest.Write(buffer.get(), n);
    if (written != n)
      throw EVTRException::CreateFmt(10147, kWriteFailedFormat, write_position, dest.Size(), n, written);
    copied += n;
    NotifyProgress(static_cast<double>(copied) / static_cast<double>(size) * 100);
  }
  SetPosition(own_position);
  dest.SetPosition(dest_position);
  NotifyProgress(100);
}

void TVTRStream::LoadFromStream(TStream& source) {
  CopyBlocksFrom(source, 0, source.Size());
}

void TVTRStream::CopyBlocksFrom(TStream& source, int64_t offset, int64_t count) {
  if (block_size_ <= 0) throw EVTRException(10419, kBlockSizeZeroMessage);
  const int64_t own_position = Position();
  const int64_t source_position = source.Position();
  source.SetPosition(offset);
  SetSize(0);
  SetPosition(0);
  NotifyProgress(0);
  // count <= 0 copies nothing; an end past the 64-bit range is capped.
  const int64_t end = count <= 0 ? offset : (offset > INT64_MAX - count ? INT64_MAX : offset + count);
  const auto first_block = static_cast<int32_t>(std::clamp<int64_t>(count, 0, block_size_));
  // A source that cannot be positioned at offset must not be copied from elsewhere.
  if (count > 0 && source.Position() != offset)
    throw EVTRException::CreateFmt(10148, kReadFailedFormat, source.Position(), source.Size(), first_block,
                                   0);
  const auto buffer = std::make_unique_for_overwrite<char[]>(first_block);
  for (int64_t position = source.Position(); position < end; position = source.Position()) {
    const auto n = static_cast<int32_t>(std::min<int64_t>(block_size_, end - position));
    const int32_t read = source.Read(buffer.get(), n);
    if (read != n) throw EVTRException::CreateFmt(10148, kReadFailedFormat, position, source.Size(), n, read);
    const int64_t write_position = Position();
    const int32_t written = Write(buffer.get(), n);
    if (written != n)
      throw EVTRException::CreateFmt(10149, kWriteFailedFormat, write_position, Size(), n, written);
    NotifyProgress(static_cast<double>(source.Position()) / static_cast<double>(source.Size()) * 100);
  }
  SetPosition(own_position);
  source.SetPosition(source_position);
  NotifyProgress(100);
}

void TVTRStream::NotifyProgress(double percent) {
  if (on_progress_) on_progress_(*this, percent);
}
