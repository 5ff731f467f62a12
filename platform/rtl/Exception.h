#pragma once
// The class library's base exception: every error of the platform and the
// engine derives from it and carries a message meant for a person.
#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 protected:
  void SetMessage(std::string message) { message_ = std::move(message); }

 private:
  std::string message_;
};

// A conversion or format failed (bad number text, arguments that do not fit a format).
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// The silent exception: it ends an operation and is never shown to the user.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
  using Exception::Exception;
};
