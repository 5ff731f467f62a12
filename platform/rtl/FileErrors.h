#pragma once
// Failures to open or create a file for a stream or a list.
#include "platform/rtl/Stream.h"

class EFileStreamError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EFCreateError : public EFileStreamError {
 public:
  using EFileStreamError::EFileStreamError;
};
class EFOpenError : public EFileStreamError {
 public:
  using EFileStreamError::EFileStreamError;
};
