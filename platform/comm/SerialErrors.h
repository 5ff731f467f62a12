#pragma once
// Errors of a serial port. Messages name the port and its device, e.g.
// cannot open COM2 (/dev/ttyS1): permission denied.
#include "platform/rtl/Exception.h"

class ESerialPortError : public Exception {
 public:
  using Exception::Exception;
};

// The bytes did not leave within the write time-out.
class ESerialTimeout : public ESerialPortError {
 public:
  using ESerialPortError::ESerialPortError;
};
