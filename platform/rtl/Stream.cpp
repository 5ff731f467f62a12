#include "platform/rtl/Stream.h"

#include <algorithm>
#include <vector>

int64_t TStream::GetSize() {
  const int64_t position = Seek(0, TSeekOrigin::soCurrent);
  const int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(position, TSeekOrigin::soBeginning);
  return size;
}

void TStream::SetSize(int64_t) { throw EStreamError("Stream cannot change its size"); }

void TStream::ReadBuffer(void* buffer, int32_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int32_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  constexpr int32_t kChunk = 61440;
  std::vector<char> buffer(static_cast<size_t>(std::min<int64_t>(count, kChunk)));
  int64_t remaining = count;
  while (remaining > 0) {
    const int32_t n = static_cast<int32_t>(std::min<int64_t>(remaining, kChunk));
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    remaining -= n;
  }
  return count;
}
