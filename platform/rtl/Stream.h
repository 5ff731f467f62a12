#pragma once
// The class library's abstract stream. Positions and sizes are 64-bit; a
// stream may be positioned past its end.
#include <cstdint>

#include "platform/rtl/Exception.h"

enum class TSeekOrigin : uint16_t { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class EStreamError : public Exception {
 public:
  using Exception::Exception;
};
class EReadError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

class TStream {
 public:
  virtual ~TStream() = default;

  // Returns the number of bytes transferred, which may be below count.
  virtual int32_t Read(void* buffer, int32_t count) = 0;
  virtual int32_t Write(const void* buffer, int32_t count) = 0;
  // Returns the new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  // The base finds the size by seeking to the end and back.
  virtual int64_t GetSize();
  virtual void SetSize(int64_t new_size);

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
  int64_t Size() { return GetSize(); }

  // Transfer exactly count bytes or raise EReadError / EWriteError.
  void ReadBuffer(void* buffer, int32_t count);
  void WriteBuffer(const void* buffer, int32_t count);
  // Copies count bytes from source's position (count 0: the whole source from
  // its start); returns the bytes copied.
  int64_t CopyFrom(TStream& source, int64_t count);
};
