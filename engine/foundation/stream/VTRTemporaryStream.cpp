#include "engine/foundation/stream/VTRTemporaryStream.h"

#include <cstdio>

#include "engine/foundation/stream/VTRStreamChecks.h"

TVTRTemporaryStream::TVTRTemporaryStream(bool keep_in_memory)
    : memory_(std::make_unique<TVTRMemoryStream>()), keep_in_memory_(keep_in_memory) {}

int32_t TVTRTemporaryStream::Write(const void* buffer, int32_t count) {
  if (memory_ && !keep_in_memory_ && memory_->Size() + count > kSpillThreshold) MoveToFile();
  return Inner().Write(buffer, count);
}

void TVTRTemporaryStream::MoveToFile() {
  // Until the copy is complete the memory stream stays the stream's content,
  // and a failed copy leaves no file behind.
  std::string name = GetTemporaryFileName();
  std::unique_ptr<TVTRFileStream> file;
  try {
    file = std::make_unique<TVTRFileStream>(name, TVTRFileStream::fmCreate, true);
  } catch (...) {
    std::remove(name.c_str());
    throw;
  }
  file->LoadFromStream(*memory_);
  file->SetPosition(memory_->Position());
  file_ = std::move(file);
  file_name_ = std::move(name);
  memory_.reset();
}
