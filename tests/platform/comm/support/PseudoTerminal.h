#pragma once
// A pseudo-terminal standing in for a serial port device in tests, and a
// scoped environment variable that names the device.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "platform/os/Clock.h"

// Sets an environment variable for a scope and restores it after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A pseudo-terminal whose slave stands in for the port of `variable` (COM2
// by default) while it lives. The test keeps a slave descriptor of its own,
// so the terminal and its settings outlive the port.
class PseudoTerminal {
 public:
  explicit PseudoTerminal(const char* variable = "VTR_COM2") {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, name, sizeof name) != 0)
      ADD_FAILURE() << "no pseudo-terminal";
    slave_name_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    env_.emplace(variable, slave_name_);
  }
  ~PseudoTerminal() {
    CloseMaster();
    if (slave_ >= 0) ::close(slave_);
  }

  const std::string& SlaveName() const { return slave_name_; }
  int Slave() const { return slave_; }

  void SendToPort(const std::string& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
  }
  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

  // What the port has sent: waits up to 1 s for the first byte, then takes
  // whatever follows within 50 ms.
  std::string Received() {
    std::string bytes;
    for (int wait_ms = 1000;; wait_ms = 50) {
      pollfd ready{master_, POLLIN, 0};
      if (::poll(&ready, 1, wait_ms) <= 0) return bytes;
      char buffer[256];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) return bytes;
      bytes.append(buffer, size_t(n));
    }
  }

  // Waits until the slave's output stands still (after an XOFF).
  bool WaitUntilStopped() {
    for (int i = 0; i < 1000; ++i) {
      pollfd ready{slave_, POLLOUT, 0};
      if (::poll(&ready, 1, 0) == 0) return true;
      SleepMilliseconds(1);
    }
    return false;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slave_name_;
  std::optional<ScopedEnv> env_;
};
