#pragma once
// A stream that keeps its bytes in memory until a write would take it past
// SpillThreshold bytes, then moves them, once and for good, into a new "VTR"
// temporary file, which is deleted with the stream. KeepInMemory never moves.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/foundation/stream/VTRFileStream.h"
#include "engine/foundation/stream/VTRMemoryStream.h"
#include "engine/foundation/stream/VTRStream.h"

class TVTRTemporaryStream : public TVTRStream {
 public:
  static constexpr int32_t kSpillThreshold = 1048576;

  explicit TVTRTemporaryStream(bool keep_in_memory);

  int32_t Read(void* buffer, int32_t count) override { return Inner().Read(buffer, count); }
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override { return Inner().Seek(offset, origin); }
  int64_t GetSize() override { return Inner().GetSize(); }
  void SetSize(int64_t new_size) override { Inner().SetSize(new_size); }

  int32_t SpillThreshold() const { return kSpillThreshold; }
  bool InMemory() const { return memory_ != nullptr; }
  // While in memory: the bytes' block, handed over as TVTRMemoryStream::TakeMemory
  // does; nil otherwise or when there are none.
  void* TakeMemory() noexcept { return memory_ ? memory_->TakeMemory() : nullptr; }
  bool KeepInMemory() const { return keep_in_memory_; }
  // The temporary file's name; empty while in memory.
  const std::string& TemporaryFileName() const { return file_name_; }

 private:
  TVTRStream& Inner() { return memory_ ? static_cast<TVTRStream&>(*memory_) : *file_; }
  void MoveToFile();

  std::unique_ptr<TVTRMemoryStream> memory_;
  std::unique_ptr<TVTRFileStream> file_;
  std::string file_name_;
  bool keep_in_memory_;
};
