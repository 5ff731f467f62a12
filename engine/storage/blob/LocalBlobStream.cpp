#include "engine/storage/blob/LocalBlobStream.h"

#include "engine/foundation/VTRExcept.h"

namespace {

constexpr const char* kReadOnlyMessage = "Cannot write to read only stream";

}  // namespace

TVTRLocalBLOBStream::TVTRLocalBLOBStream(std::unique_ptr<TVTRTemporaryStream> stored,
                                         const TVTRBLOBDescriptor& descriptor, bool new_value,
                                         TVTRCursor* cursor, TVTRBlobOpenMode mode, int32_t field_no)
    : stored_(std::move(stored)),
      value_(std::make_unique<TVTRCompressedBLOBStream>(*stored_, descriptor, new_value)),
      cursor_(cursor),
      mode_(mode),
      field_no_(field_no) {}

int32_t TVTRLocalBLOBStream::Write(const void* buffer, int32_t count) {
  if (mode_ == bomRead) throw EVTRException(10115, kReadOnlyMessage);
  SetModified(true);
  return value_->Write(buffer, count);
}

void TVTRLocalBLOBStream::SetSize(int64_t new_size) {
  if (mode_ == bomRead) throw EVTRException(10116, kReadOnlyMessage);
  SetModified(true);
  value_->SetSize(new_size);
}
