#include "platform/comm/SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <utility>

#include "platform/comm/SerialDevice.h"
#include "platform/os/Clock.h"
#include "platform/os/OSError.h"

namespace {

// The system's text for an error, as the middle of a sentence.
std::string Reason(int error_code) {
  std::string text = SysErrorMessage(error_code);
  text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return text;
}

// Milliseconds left until deadline, at least 0; -1 without a deadline.
int Remaining(int64_t deadline) {
  if (deadline < 0) return -1;
  return static_cast<int>(std::max<int64_t>(deadline - MonotonicMilliseconds(), 0));
}

// Closes a descriptor unless it is released.
class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

}  // namespace

TSerialPort::TSerialPort(TComponent* owner) : TComponent(owner) {}

TSerialPort::~TSerialPort() {
  Close();
}

void TSerialPort::SetPort(std::string_view port) {
  RequireInactive();
  const int number = SerialPortNumber(port);
  if (number == 0) throw ESerialPortError("unknown serial port \"" + std::string(port) + "\"");
  port_ = "COM" + std::to_string(number);
}

std::string TSerialPort::DeviceName() const {
  return SerialDeviceOf(SerialPortNumber(port_));
}

void TSerialPort::SetBaudRate(int32_t baud_rate) {
  RequireInactive();
  if (!IsSupportedBaudRate(baud_rate))
    throw ESerialPortError(port_ + ": unsupported baud rate " + std::to_string(baud_rate));
  settings_.baud_rate = baud_rate;
}

void TSerialPort::SetDataBits(int32_t data_bits) {
  RequireInactive();
  if (data_bits < 5 || data_bits > 8)
    throw ESerialPortError(port_ + ": unsupported number of data bits " + std::to_string(data_bits));
  settings_.data_bits = data_bits;
}

void TSerialPort::SetParity(TParity parity) {
  RequireInactive();
  settings_.parity = parity;
}

void TSerialPort::SetStopBits(TStopBits stop_bits) {
  RequireInactive();
  settings_.stop_bits = stop_bits;
}

void TSerialPort::SetFlowControl(TFlowControl flow_control) {
  RequireInactive();
  settings_.flow_control = flow_control;
}

void TSerialPort::SetInBufferSize(int32_t size) {
  RequireInactive();
  in_buffer_size_ = size;
}

void TSerialPort::SetOutBufferSize(int32_t size) {
  RequireInactive();
  out_buffer_size_ = size;
}

void TSerialPort::SetReadTimeout(int32_t milliseconds) {
  RequireInactive();
  read_timeout_ms_ = milliseconds;
}

void TSerialPort::SetWriteTimeout(int32_t milliseconds) {
  RequireInactive();
  if (milliseconds < 0) throw ESerialPortError(port_ + ": negative write time-out");
  write_timeout_ms_ = milliseconds;
}

void TSerialPort::RequireInactive() const {
  if (Active()) throw ESerialPortError("cannot change the settings of " + Where() + " while it is open");
}

std::string TSerialPort::Where() const {
  return port_ + " (" + (Active() ? device_ : DeviceName()) + ")";
}

void TSerialPort::SetActive(bool active) {
  if (active && !Active()) Open();
  if (!active) Close();
}

void TSerialPort::Open() {
  const std::string device = DeviceName();
  const auto failure = [&](const char* action, const std::string& reason) {
    return ESerialPortError(std::string(action) + " " + port_ + " (" + device + "): " + reason);
  };
  // Non-blocking, so neither the open nor a write waits for the modem lines.
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw failure("cannot open", Reason(errno));
  UniqueFd guard(fd);
  if (::isatty(fd) == 0) throw failure("cannot open", "not a serial device");
  termios line{};
  if (::ioctl(fd, TIOCEXCL) != 0 || ::tcgetattr(fd, &line) != 0) throw failure("cannot open", Reason(errno));
  ApplySettings(settings_, line);
  if (::tcsetattr(fd, TCSANOW, &line) != 0) throw failure("cannot set up", Reason(errno));
  fd_ = guard.Release();
  device_ = device;
}

void TSerialPort::Close() noexcept {
  if (fd_ < 0) return;
  ::ioctl(fd_, TIOCNXCL);
  // Nothing written is lost here: a write returns only once its bytes have
  // left, and a failed write discards its rest on purpose.
  ::close(fd_);
  fd_ = -1;
  device_.clear();
}

void TSerialPort::Write(const void* buffer, size_t count) {
  if (!Active()) throw ESerialPortError(port_ + " is not open");
  try {
    Send(static_cast<const uint8_t*>(buffer), count);
  } catch (...) {
    // A command that arrives late (a drawer opening after the user has given
    // up) is worse than none, and unsent output would hold up the close.
    ::tcflush(fd_, TCOFLUSH);
    Close();
    throw;
  }
}

void TSerialPort::Send(const uint8_t* bytes, size_t count) {
  const int64_t deadline = write_timeout_ms_ > 0 ? MonotonicMilliseconds() + write_timeout_ms_ : -1;
  const auto timed_out = [&] {
    return ESerialTimeout("write to " + Where() + " timed out after " + std::to_string(write_timeout_ms_) +
                          " ms");
  };
  const auto failed = [&](int error_code) {
    return ESerialPortError("cannot write to " + Where() + ": " + Reason(error_code));
  };
  while (count > 0) {
    const ssize_t written = ::write(fd_, bytes, count);
    if (written > 0) {
      bytes += written;
      count -= static_cast<size_t>(written);
      continue;
    }
    if (written < 0 && errno != EAGAIN && errno != EINTR) throw failed(errno);
    pollfd wait{fd_, POLLOUT, 0};
    const int ready = ::poll(&wait, 1, Remaining(deadline));
    if (ready < 0 && errno != EINTR) throw failed(errno);
    if (ready == 0) throw timed_out();
    if (ready > 0 && (wait.revents & POLLOUT) == 0) throw failed(EIO);
  }
  // The driver may still hold the bytes (a device that sent XOFF stops the
  // line); they have left only when its output queue is empty.
  for (;;) {
    int queued = 0;
    if (::ioctl(fd_, TIOCOUTQ, &queued) != 0) throw failed(errno);
    if (queued == 0) return;
    if (Remaining(deadline) == 0) throw timed_out();
    SleepMilliseconds(1);
  }
}
