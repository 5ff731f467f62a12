#pragma once
// TVTRLocalBLOBStream: the stream a cursor hands out for one BLOB field of its
// current record. It owns the value's compressed BLOB stream and the stream
// of stored bytes beneath it; reads, writes, seeks and size changes go to the
// compressed stream. Writing or resizing marks it modified, which is what
// makes the table take the value when the stream is closed.
#include <cstdint>
#include <memory>

#include "engine/foundation/blob/VTRCompressedBLOBStream.h"
#include "engine/foundation/stream/VTRStream.h"
#include "engine/foundation/stream/VTRTemporaryStream.h"
#include "engine/storage/base/Cursor.h"

class TVTRLocalBLOBStream : public TVTRStream {
 public:
  // Opens the value held in `stored` as the descriptor describes it, or an
  // empty one with new_value.
  TVTRLocalBLOBStream(std::unique_ptr<TVTRTemporaryStream> stored, const TVTRBLOBDescriptor& descriptor,
                      bool new_value, TVTRCursor* cursor, TVTRBlobOpenMode mode, int32_t field_no);

  int32_t Read(void* buffer, int32_t count) override { return value_->Read(buffer, count); }
  // 10115 in read mode.
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override { return value_->Seek(offset, origin); }
  int64_t GetSize() override { return value_->GetSize(); }
  // 10116 in read mode.
  void SetSize(int64_t new_size) override;

  TVTRCompressedBLOBStream& Value() { return *value_; }
  // The stored bytes: what the table keeps for the value.
  TVTRTemporaryStream& Stored() { return *stored_; }
  TVTRBlobOpenMode Mode() const { return mode_; }
  // The table field the stream belongs to.
  int32_t FieldNo() const { return field_no_; }
  TVTRCursor* Cursor() const { return cursor_; }

  // The dataset's stream that wraps this one; not owned.
  TStream* Owner = nullptr;

 private:
  std::unique_ptr<TVTRTemporaryStream> stored_;  // declared first: the value reads and writes it until it goes
  std::unique_ptr<TVTRCompressedBLOBStream> value_;
  TVTRCursor* cursor_;
  TVTRBlobOpenMode mode_;
  int32_t field_no_;
};
