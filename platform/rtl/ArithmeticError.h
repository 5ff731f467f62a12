#pragma once
// The class library's arithmetic exceptions, with its messages.
#include "platform/rtl/Exception.h"

class EIntError : public Exception {
 public:
  using Exception::Exception;
};
class EIntOverflow : public EIntError {
 public:
  EIntOverflow() : EIntError("Integer overflow") {}
};
class EDivByZero : public EIntError {
 public:
  EDivByZero() : EIntError("Division by zero") {}
};
// A number outside the range of the type that should hold it.
class ERangeError : public EIntError {
 public:
  ERangeError() : EIntError("Range check error") {}
};

class EMathError : public Exception {
 public:
  using Exception::Exception;
};
class EZeroDivide : public EMathError {
 public:
  EZeroDivide() : EMathError("Floating point division by zero") {}
};
class EOverflow : public EMathError {
 public:
  EOverflow() : EMathError("Floating point overflow") {}
};
class EInvalidOp : public EMathError {
 public:
  EInvalidOp() : EMathError("Invalid floating point operation") {}
};
