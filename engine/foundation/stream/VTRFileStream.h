#pragma once
// A stream over a file with 64-bit positions. The engine creates temporary
// files with it; a temporary file is deleted when the stream is destroyed.
#include <cstdint>
#include <string>

#include "engine/foundation/stream/VTRStream.h"
#include "platform/os/OSFile.h"

class TVTRFileStream : public TVTRStream {
 public:
  // The mode that creates the file, replacing an existing one.
  static constexpr uint16_t fmCreate = 0xFFFF;

  // With fmCreate creates the file for reading and writing (failure: 10104);
  // otherwise opens an existing file with the class library's open-mode word:
  // access in the low two bits (0 read, 1 write, 2 both), sharing in bits 4 to
  // 6, which is left to the byte locks of the callers (failure: 10105).
  TVTRFileStream(const std::string& file_name, uint16_t mode, bool is_temporary);
  // Closes the file and deletes a temporary one; errors are not reported.
  ~TVTRFileStream() override;

  // A failed transfer returns 0.
  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  // Positions may lie past the end; a negative one fails (returns -1).
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t GetSize() override { return file_.Size(); }
  // Truncates or extends the file (a refusal raises EOSError); the position
  // moves to the new end when it lay beyond it.
  void SetSize(int64_t new_size) override;

  const std::string& FileName() const { return file_name_; }
  uint16_t Mode() const { return mode_; }
  bool IsTemporary() const { return is_temporary_; }

 private:
  OSFile file_;
  std::string file_name_;
  uint16_t mode_;
  bool is_temporary_;
  int64_t position_ = 0;
};
