#include "engine/foundation/stream/VTRStreamChecks.h"

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/stream/VTRStreamMessages.h"
#include "platform/os/TemporaryFile.h"

void WriteStreamChecked(const void* buffer, int32_t count, TStream& stream, int32_t native_code) {
  const int64_t position = stream.Position();
  const int32_t written = stream.Write(buffer, count);
  if (written != count)
    throw EVTRException::CreateFmt(native_code, kWriteFailedFormat, position, stream.Size(), count, written);
}

void ReadStreamChecked(void* buffer, int32_t count, TStream& stream, int32_t native_code) {
  const int64_t position = stream.Position();
  const int32_t read = stream.Read(buffer, count);
  if (read != count)
    throw EVTRException::CreateFmt(native_code, kReadFailedFormat, position, stream.Size(), count, read);
}

void SeekStreamChecked(TStream& stream, int32_t native_code, int64_t new_position) {
  const int64_t position = stream.Position();
  stream.Seek(new_position, TSeekOrigin::soBeginning);
  if (stream.Position() != new_position)
    throw EVTRException::CreateFmt(native_code, kSeekFailedFormat, new_position, position, stream.Size());
}

std::string GetTemporaryFileName() {
  return CreateTemporaryFile("VTR");
}
